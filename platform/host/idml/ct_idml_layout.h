// The drawn layout of an IDML document, for pictures of it: every spread with its page
// rectangles and the names printed on its pages, every text frame and text path with its story, its
// outline and its thread partners, and which story each anchored frame sits in. Plain values copied
// out of the document while it is built; nothing here keeps XML nodes.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/host/idml/ct_idml_document.h"
#include "platform/host/idml/ct_idml_geometry.h"

struct CT_IdmlFrame {
    std::string s_Id;        // the frame's Self id
    std::string s_Key;       // the story it shows
    std::string s_Previous;  // the frames before and after it in its thread; empty for none
    std::string s_Next;
    CT_IdmlRect co_Outline;  // bounding box in spread coordinates, points
    int i_Page = -1;         // index of the spread's page it lies on; -1 on the pasteboard
    std::vector<std::string> co_Groups;  // the Self ids of the groups around it, outermost first
    bool b_OnPath = false;               // a text path, drawn along its carrier's outline
};

struct CT_IdmlSpreadLayout {
    bool b_Master = false;
    std::string s_Name;                     // the master spread's name; empty for document spreads
    unsigned n_FirstPage = 0;               // document page number of the first page; 0 for masters
    std::vector<CT_IdmlRect> co_Pages;      // in spread coordinates, in page order
    std::vector<std::string> co_PageNames;  // as printed ("A22"), by page; empty on masters
    std::vector<CT_IdmlFrame> co_Frames;    // in design-map order
};

class CT_IdmlLayout {
  public:
    explicit CT_IdmlLayout(const CT_IdmlDocument& co_Document);

    // Master spreads first, then document spreads, each in design-map order.
    const std::vector<CT_IdmlSpreadLayout>& co_Spreads() const { return co_SpreadList; }
    // For the story of every anchored or inline frame, the story whose text holds the anchor.
    const std::unordered_map<std::string, std::string>& co_AnchoredIn() const { return co_Anchors; }

  private:
    void v_Walk(const pugi::xml_node& co_Parent, const CT_IdmlTransform& co_Map,
                CT_IdmlSpreadLayout& co_Spread, std::vector<std::string>& co_Groups) const;
    void v_Add(const pugi::xml_node& co_Container, const CT_IdmlRect& co_Outline,
               CT_IdmlSpreadLayout& co_Spread, const std::vector<std::string>& co_Groups) const;
    void v_CollectAnchors();

    const CT_IdmlDocument& co_Source;
    std::vector<CT_IdmlSpreadLayout> co_SpreadList;
    std::unordered_map<std::string, std::string> co_Anchors;
};
