// A story map as one self-contained HTML page: the drawn spreads one under another, and beside
// them the story list grouped as the command's list groups it, with a panel that shows the key,
// label and preview of the story under the pointer or last clicked. Styles and script are
// inline; nothing is fetched. The page is well-formed XML as well as HTML.
#pragma once

#include <ostream>
#include <string>

class CT_StoryMap;
class CT_MapSvgWriter;

class CT_MapHtmlWriter {
  public:
    // Both must outlive the writer; s_Title names the document.
    CT_MapHtmlWriter(const CT_StoryMap& co_Map, const CT_MapSvgWriter& co_Svg, std::string s_Title);

    void v_Write(std::ostream& co_Out) const;

  private:
    void v_WriteList(std::ostream& co_Out) const;

    const CT_StoryMap& co_Map;
    const CT_MapSvgWriter& co_Svg;
    std::string s_Title;
};
