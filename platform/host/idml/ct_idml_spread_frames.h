// The text frames and text paths of one spread, found once as the spread is read (on the thread
// that parses it): each with the transform that takes it to spread coordinates, its outline
// there and the layer and state it inherits from the groups around it. The box list and the
// story settings go through these instead of each walking the spread's tree. The nodes and
// layer ids point into the spread's tree, which the document owns and keeps while it is open.
#pragma once

#include <pugixml.hpp>

#include <vector>

#include "platform/host/idml/ct_idml_geometry.h"

// What a frame is, for the choice of stories: its layer (an ItemLayer id, inherited from the
// groups around it; empty for none) and whether it or a group around it is hidden or does not
// print.
struct CT_IdmlFrameState {
    const char* pc_LayerId = "";
    bool b_Hidden = false;
    bool b_NonPrinting = false;

    // The state of a page item inside the groups that give this one: its own layer, when it
    // names one, and hidden or non-printing when it or they are.
    CT_IdmlFrameState co_Inside(const pugi::xml_node& co_Item) const;
};

// A text path's item is its carrier's shape: its outline, transform and state are the carrier's.
struct CT_IdmlSpreadFrame {
    pugi::xml_node co_Item;   // the <TextFrame> or <TextPath>
    CT_IdmlTransform co_Map;  // from the coordinates of the shape to the spread's
    CT_IdmlRect co_Outline;   // the shape's outline in spread coordinates
    CT_IdmlFrameState co_State;
    bool b_OnPath = false;
};

class CT_IdmlSpreadFrames {
  public:
    // In document order, inside groups and other items too; pages and items' properties hold
    // no items and are not looked into. REQUIRES: the spread nests no deeper than the parts
    // the document accepts.
    static std::vector<CT_IdmlSpreadFrame> sco_Find(const pugi::xml_node& co_Spread);

  private:
    static void sv_Walk(const pugi::xml_node& co_Parent, const CT_IdmlTransform& co_Map,
                        const CT_IdmlFrameState& co_State,
                        std::vector<CT_IdmlSpreadFrame>& co_Into);
};
