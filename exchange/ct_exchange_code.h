// What one code of a story's tagged content stands for, as an exchange format shows it to a
// translator and needs it to cut the story into units. Filled by whoever knows the document
// (the command, from the host); a plain value that owns its texts.
#pragma once

#include <string>

struct CT_ExchangeCode {
    enum class et_Kind {
        e_Inline,    // <xN/> or <gN>: kept in its unit's text
        e_FlowOpen,  // <xN/>: a footnote or note whose paragraphs follow, up to its e_FlowClose
        e_FlowClose,
        e_FlowAround,  // <gN>...</gN>: a note whose paragraphs stand inside the pair; <xN/>
                       // of such a code (a note left out) is inline
        e_TableOpen,   // <xN/>: a table whose cells follow, up to its e_TableClose
        e_Cell,        // <xN/>: a cell whose paragraphs follow
        e_TableClose,
    };
    et_Kind eo_Kind = et_Kind::e_Inline;
    std::string co_Ctype;   // XLIFF ctype: "bold", "lb", "x-footnote"... empty: none
    std::string co_Equiv;   // a short text the translator reads for it: "footnote", "tab"
    std::string co_Label;   // e_FlowOpen, e_FlowAround: "footnote", "note"
    unsigned n_Row = 0;     // e_Cell, from 1
    unsigned n_Column = 0;  // e_Cell, from 1
    // Two <xN/> codes around text (a hyperlink, an XML element) that a translator should see
    // as one pair: the close names its open.
    enum class et_Pair { e_None, e_Open, e_Close };
    et_Pair eo_Pair = et_Pair::e_None;
    unsigned n_Partner = 0;  // e_Close: the number of its open
    // A formatting run (<gN>): what a reader sees of it, so that runs of the same look may show
    // as one; empty for any other code, which never merges. b_LooksAsParagraph: it looks as the
    // paragraph's own text, and a translator need not see it at all.
    std::string co_Look;
    bool b_LooksAsParagraph = false;
};
