// A story map as one self-contained HTML page: the drawn spreads one under another, opened at
// the first page with text, and beside them the story list grouped as the command's list
// groups it under the pages' printed names, with each story's counts and the fit report's
// verdict, and a panel that shows the key, label, preview, place and fit of the story under the
// pointer or last clicked; a click in the list brings the frame into view.
// The user arranges the list (dragging within a page, or picking frames in turn) and saves it
// as the document's order file, NAME.order, made in the page and downloaded: nothing else is
// written. Styles and script are inline; nothing is fetched. The page is well-formed XML as
// well as HTML.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <utility>

#include "exchange/ct_document_count.h"

class CT_StoryMap;
class CT_MapSvgWriter;

class CT_MapHtmlWriter {
  public:
    // Both must outlive the writer. s_Document is the document's file name, which names the
    // order file the page saves; s_Order the order in force as the command line spells it.
    CT_MapHtmlWriter(const CT_StoryMap& co_Map, const CT_MapSvgWriter& co_Svg,
                     std::string s_Document, std::string s_Order);

    // The order file that arranged the order, named in the heading.
    void v_SetOrderFile(std::string s_Path) { s_OrderFile = std::move(s_Path); }
    // Each story's counts by key, shown in the list; none when not given.
    void v_SetCounts(std::map<std::string, CT_StoryTally> co_ByKey) {
        co_Counts = std::move(co_ByKey);
    }
    // The translation the fit is of, named in the heading; else the fit is of the document's
    // own text.
    void v_SetCheckedFile(std::string s_Path) { s_CheckedFile = std::move(s_Path); }

    void v_Write(std::ostream& co_Out) const;

  private:
    void v_WriteList(std::ostream& co_Out) const;
    std::string s_CountsOf(const std::string& s_Key) const;

    const CT_StoryMap& co_Map;
    const CT_MapSvgWriter& co_Svg;
    std::string s_Document;
    std::string s_Order;
    std::string s_OrderFile;
    std::string s_CheckedFile;
    std::map<std::string, CT_StoryTally> co_Counts;
};
