// The box list of an IDML document: one entry per story shown in a text frame or on a path, on
// pages, master spreads or the pasteboard, also inside groups, placed by its thread's first
// frame. Stories of anchored and inline frames are listed at the place of the story holding
// their anchor, so that every story order shows them right after it; stories shown nowhere, and
// frames naming a story the package lacks, are not. A story goes out when any of its frames is kept
// by the selection (anchored stories go with the story that anchors them); the others stay in the
// list marked with the reason. Reads the document only while it is being built.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/host/idml/ct_idml_box.h"
#include "platform/host/idml/ct_idml_document.h"
#include "platform/host/idml/ct_idml_geometry.h"
#include "platform/host/idml/ct_idml_selection.h"

class CT_IdmlBoxList {
  public:
    // One text frame or text path met on a spread, with its layer's name and why it is left
    // out (empty when kept): what a drawing of the layout greys.
    struct CT_Frame {
        std::string s_Id;
        std::string s_Story;
        std::string s_Layer;
        std::string s_LeftOut;
    };

    CT_IdmlBoxList(const CT_IdmlDocument& co_Document, const CT_IdmlSelection& co_Selection);

    // The stories that go out, in design-map order of their spreads; a story holding anchored
    // frames comes after their stories, which come in the reverse of their anchors' order.
    std::vector<CT_IdmlBox> co_Boxes(bool b_IgnorePasteBoard) const;
    // Every story in the same order; those left out carry their reason, pasteboard stories
    // "on the pasteboard" when they are ignored.
    std::vector<CT_IdmlBox> co_AllBoxes(bool b_IgnorePasteBoard) const&;
    // The same from a list that is done with: its boxes are moved out, not copied.
    std::vector<CT_IdmlBox> co_AllBoxes(bool b_IgnorePasteBoard) &&;
    // Every frame in design-map order.
    const std::vector<CT_Frame>& co_GetFrames() const { return co_Frames; }

  private:
    static std::vector<CT_IdmlBox> so_Marked(std::vector<CT_IdmlBox> co_Boxes,
                                             bool b_IgnorePasteBoard);
    void v_ScanSpread(const CT_IdmlSpreadPart& co_Spread);
    void v_Consider(const CT_IdmlSpreadFrame& co_Met);
    CT_IdmlBox co_Place(const std::string& s_Key, const CT_IdmlRect& co_Outline) const;
    void v_PlaceAnchored();

    const CT_IdmlDocument& co_Source;
    const CT_IdmlSelection& co_Selection;
    // The spread being scanned.
    std::vector<CT_IdmlRect> co_PageRects;
    bool b_MasterSpread = false;
    unsigned n_FirstPage = 1;
    std::string s_SpreadName;
    unsigned n_NextPage = 1;

    std::vector<CT_IdmlBox> co_List;
    std::vector<CT_Frame> co_Frames;
    std::unordered_map<std::string, std::size_t> co_IndexByKey;
    std::unordered_set<std::string> co_ThreadStarts;  // keys placed by their thread's first frame
};
