// One step of translated content, read against the codes of the story as it stands: the
// counterpart of CT_IdmlStoryEvent for the new text. Codes point back at the events (and so at
// the XML) they stand for.
#pragma once

#include <cstddef>
#include <string>

enum class et_IdmlLeaf {
    e_Text,
    e_Pi,
    e_Break,
    e_Object,
    e_WrapOpen,
    e_WrapClose,
    e_NoteOpen,
    e_NoteClose,
    e_TableOpen,
    e_Cell,
    e_TableClose,
    e_FlowEnd,
    e_Skip,  // the line end that only ended a flow's last paragraph
};

struct CT_IdmlStoryLeaf {
    et_IdmlLeaf eo_Kind = et_IdmlLeaf::e_Skip;
    unsigned n_Flow = 0;       // flow whose text it is part of (a cell: its table's flow)
    unsigned n_Paragraph = 0;  // paragraph of that flow in the new text
    unsigned n_Break = 0;      // e_Break: how many breaks of the flow came before
    unsigned n_Count = 1;      // e_Break: how many line ends in a row it stands for
    std::size_t n_Event = 0;   // x codes: the event the code stands for
    unsigned n_Code = 0;       // wrappers: the number of their opening code
    unsigned n_Inner = 0;      // e_NoteOpen, e_Cell: the flow that starts
    unsigned n_Format = 0;     // innermost open format code, 0 for none
    unsigned n_Change = 0;     // innermost open change code, 0 for none
    std::string co_Text;       // e_Text
};
