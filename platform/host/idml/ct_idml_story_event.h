// One step of a story read in text order: a piece of text, a paragraph end, an object, or the
// start or end of something that holds text. The nodes belong to the story's XML document;
// an event only points at them.
#pragma once

#include <pugixml.hpp>

enum class et_IdmlEvent {
    e_Text,      // co_Node: a text node inside Content
    e_Pi,        // co_Node: a processing instruction (or comment) inside Content
    e_Break,     // co_Node: the Br element
    e_Object,    // co_Node: an element (or instruction) outside Content, carried whole
    e_WrapOpen,  // co_Node: the wrapper element; n_Level: where it stood (see below)
    e_WrapClose,
    e_NoteOpen,  // co_Node: Footnote or Note; n_Inner: the note's flow
    e_NoteClose,
    e_TableOpen,  // co_Node: the Table
    e_Cell,       // co_Node: the Cell; n_Inner: the cell's flow
    e_TableClose,
    e_FlowEnd,  // n_Flow ends here
};

// How paragraphs are tallied: every event but a cell's start and a flow's end is part of its
// flow's paragraph, and a break or the flow's end closes that paragraph.
inline bool b_InParagraph(et_IdmlEvent eo_Kind) {
    return eo_Kind != et_IdmlEvent::e_Cell && eo_Kind != et_IdmlEvent::e_FlowEnd;
}
inline bool b_EndsParagraph(et_IdmlEvent eo_Kind) {
    return eo_Kind == et_IdmlEvent::e_Break || eo_Kind == et_IdmlEvent::e_FlowEnd;
}

struct CT_IdmlStoryEvent {
    et_IdmlEvent eo_Kind;
    pugi::xml_node co_Node;
    pugi::xml_node co_Psr;     // innermost paragraph range around the event, if any
    pugi::xml_node co_Csr;     // innermost character range around the event, if any
    pugi::xml_node co_Change;  // tracked insertion or move around the event, if any
    unsigned n_Flow = 0;       // the flow whose text the event is part of
    unsigned n_Inner = 0;
    // For a wrapper: 0 when it stood outside any range of its flow (or right inside another
    // wrapper), 1 right inside a paragraph range, 2 inside a character range.
    unsigned n_Level = 0;
};
