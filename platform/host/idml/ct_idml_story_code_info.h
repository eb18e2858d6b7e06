// What a translation tool may show about one code of a story's tagged content: its kind and
// the element it stands for, and for a table cell its row and column. Made from a story's XML by
// CT_IdmlStoryCodec::s_DescribeCodes; a plain value that owns its texts.
#pragma once

#include <string>
#include <vector>

struct CT_IdmlStoryCodeInfo {
    enum class et_Kind {
        e_None,        // index 0
        e_Format,      // <gN>: formatting differs from the paragraph's
        e_Change,      // <gN>: tracked insertion
        e_Object,      // <xN/>: an object or special character carried whole
        e_WrapOpen,    // <xN/>: start of a hyperlink or XML element around text
        e_WrapClose,   // <xN/>: its end
        e_NoteOpen,    // <xN/>: start of a footnote or note, whose paragraphs follow
        e_NoteClose,   // <xN/>: its end
        e_TableOpen,   // <xN/>: start of a table
        e_Cell,        // <xN/>: start of a cell, whose paragraphs follow
        e_TableClose,  // <xN/>: end of a table
        e_Note,        // <gN>...</gN> around a note's text, or <xN/> for a note left out
    };
    et_Kind eo_Kind = et_Kind::e_None;
    // The element's name ("Footnote", "Rectangle", "HyperlinkTextSource"), or for a processing
    // instruction its text ("ACE 18").
    std::string co_Element;
    unsigned n_Row = 0;      // cells: from 1
    unsigned n_Column = 0;   // cells: from 1
    unsigned n_Partner = 0;  // e_WrapClose: the number of its e_WrapOpen
    // e_Format: what a reader sees of the range's formatting (see
    // CT_IdmlStoryRangeKeys::ss_Look), and whether that is what the paragraph's own text shows.
    std::string co_Look;
    bool b_LooksAsParagraph = false;
    // e_Format: the character style's name and the font style ("Bold", "Italic"); e_WrapOpen of
    // an XML element: its tag.
    std::string co_Name;
    std::string co_FontStyle;
    bool b_Underline = false;
    // Index 0 only, which stands for no code: the paragraph style of each line of the content,
    // in content order, so that a translator can be told what a paragraph is.
    std::vector<std::string> co_ParagraphStyles;
};
