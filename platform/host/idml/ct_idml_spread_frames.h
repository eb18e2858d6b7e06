// The text frames and text paths of one spread, found once as the spread is read (on the thread
// that parses it) and kept without its tree: each frame's ids, its outline in spread
// coordinates and the layer and state it inherits from the groups around it. The box list is
// made from these, so that a document whose layout is only ordered never keeps its spreads'
// trees, the most memory a listing held. Plain values; nothing here points into a tree.
#pragma once

#include <pugixml.hpp>

#include <functional>
#include <string>
#include <vector>

#include "platform/host/idml/ct_idml_geometry.h"

// What a frame is, for the choice of stories: its layer (an ItemLayer id, inherited from the
// groups around it; empty for none) and whether it or a group around it is hidden or does not
// print. The id points into a tree, or into the frame found that holds it.
struct CT_IdmlFrameState {
    const char* pc_LayerId = "";
    bool b_Hidden = false;
    bool b_NonPrinting = false;

    // The state of a page item inside the groups that give this one: its own layer, when it
    // names one, and hidden or non-printing when it or they are.
    CT_IdmlFrameState co_Inside(const pugi::xml_node& co_Item) const;
};

// A frame showing a story (ParentStory names one); a text path's outline and state are its
// carrier's.
struct CT_IdmlSpreadFrame {
    std::string s_Self;
    std::string s_Story;
    bool b_Start = true;  // no frame before it in its thread
    CT_IdmlRect co_Outline;
    std::string s_LayerId;
    bool b_Hidden = false;
    bool b_NonPrinting = false;

    CT_IdmlFrameState co_State() const { return {s_LayerId.c_str(), b_Hidden, b_NonPrinting}; }
};

// What the box list needs of a spread.
struct CT_IdmlSpreadOutline {
    std::string s_Name;                     // its Name, which a master's pages go by
    std::vector<CT_IdmlRect> co_PageRects;  // in page order, in spread coordinates
    std::vector<std::string> co_PageIds;    // each page's Self, in page order
    std::vector<CT_IdmlSpreadFrame> co_Frames;
};

class CT_IdmlSpreadFrames {
  public:
    // A frame met in a walk: its element, the transform from its shape's coordinates to the
    // spread's (a text path's shape is its carrier) and the state it inherits.
    using CT_Visit =
        std::function<void(const pugi::xml_node& co_Item, const CT_IdmlTransform& co_Map,
                           const CT_IdmlFrameState& co_State, bool b_OnPath)>;
    // The walk both sco_Read and a reader of the frames' own settings go through, frames and
    // text paths in document order. Same REQUIRES as sco_Read.
    static void sv_Visit(const pugi::xml_node& co_Spread, const CT_Visit& f_Visit);

    // Frames in document order, inside groups and other items too; pages and items'
    // properties hold no items and are not looked into. REQUIRES: the spread nests no deeper
    // than the parts the document accepts.
    static CT_IdmlSpreadOutline sco_Read(const pugi::xml_node& co_Spread, bool b_Master,
                                         const CT_IdmlPageSize& co_Size);

  private:
    static void sv_Walk(const pugi::xml_node& co_Parent, const CT_IdmlTransform& co_Map,
                        const CT_IdmlFrameState& co_State, const CT_Visit& f_Visit);
    static void sv_Add(const pugi::xml_node& co_Item, const CT_IdmlRect& co_Outline,
                       const CT_IdmlFrameState& co_State, std::vector<CT_IdmlSpreadFrame>& co_Into);
};
