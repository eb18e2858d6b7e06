// Which frames' stories go to the translator: by the state of their layers and of the frames
// themselves, or by layer name. A plain value the caller sets on the host; the box list asks it
// about every frame and keeps a story when any of its frames is kept.
#pragma once

#include <string>
#include <vector>

#include "platform/host/idml/ct_idml_document.h"

class CT_IdmlSelection {
  public:
    enum et_Layers {
        e_AllLayers,        // every frame, hidden or not
        e_VisibleLayers,    // frames that are shown: no hidden frame, no hidden layer
        e_PrintableLayers,  // frames that print: shown, and neither frame nor layer non-printing
    };

    et_Layers eo_Layers = e_PrintableLayers;
    // When not empty, only frames on layers of these names go out. Naming a layer overrides its
    // own hidden and non-printing state: one layer per language is usually hidden but the one
    // being worked on, and the user asking for it by name wants it. The frames' own state still
    // follows eo_Layers.
    std::vector<std::string> co_LayerNames;
    // List the stories left out as well, each with its reason, for a user who asks to see them.
    bool b_ListLeftOut = false;

    // Why the frame is left out ("on hidden layer \"Layer 2\""), or empty when it goes out.
    std::string s_LeftOut(const CT_IdmlFrameState& co_Frame,
                          const CT_IdmlDocument& co_Document) const;
    // The name of the frame's layer; empty when the frame names no layer the document has.
    static std::string ss_LayerName(const CT_IdmlFrameState& co_Frame,
                                    const CT_IdmlDocument& co_Document);
    // The names in co_LayerNames that the document has no layer of.
    std::vector<std::string> co_UnknownLayers(const CT_IdmlDocument& co_Document) const;
};
