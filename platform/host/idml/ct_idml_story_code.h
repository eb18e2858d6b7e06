// One code of the tagged content: what the number N of <gN>, </gN> or <xN/> stands for. The
// codes of a story are numbered from 1 in text order; a code table is a vector indexed by
// number (index 0 unused).
#pragma once

#include <cstddef>
#include <string>

enum class et_IdmlCode {
    e_None,        // index 0, numbers never given
    e_Format,      // <gN>: a character range that differs from its paragraph's base
    e_Change,      // <gN>: a tracked insertion or move
    e_Object,      // <xN/>: an object or a special character
    e_Open,        // <xN/>: start of a wrapper, footnote or note
    e_Close,       // <xN/>: its end; n_Partner is the start's number
    e_TableOpen,   // <xN/>
    e_Cell,        // <xN/>: start of a cell; n_Partner is its table's number
    e_TableClose,  // <xN/>: n_Partner is the table's number
    // <gN>...</gN> around a note's text, or <xN/> for a note left out whole; n_Partner is the
    // number of the last code inside the note (N when it holds none).
    e_Note,
};

struct CT_IdmlStoryCode {
    et_IdmlCode eo_Kind = et_IdmlCode::e_None;
    std::size_t n_Event = 0;  // the event the code was made for (a format: its first text)
    unsigned n_Partner = 0;

    bool b_IsPaired() const {
        return eo_Kind == et_IdmlCode::e_Format || eo_Kind == et_IdmlCode::e_Change;
    }
    // Written either way: a note is paired when its text is shown, standalone when left out.
    bool b_IsNote() const { return eo_Kind == et_IdmlCode::e_Note; }
    static std::string s_Open(unsigned n_Number) { return "<g" + std::to_string(n_Number) + ">"; }
    static std::string s_Close(unsigned n_Number) { return "</g" + std::to_string(n_Number) + ">"; }
    static std::string s_Standalone(unsigned n_Number) {
        return "<x" + std::to_string(n_Number) + "/>";
    }
};
