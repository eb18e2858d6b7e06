#include "map/ct_map_html_writer.h"

#include <utility>

#include "map/ct_map_svg_writer.h"
#include "map/ct_story_map.h"

namespace {
const char* const gpc_Style =
    "body{margin:0;font-family:sans-serif;color:#222;background:#eceff1}\n"
    "header{padding:8px 16px;background:#263238;color:#fff}\n"
    "header h1{font-size:18px;margin:0}\n"
    ".layout{display:flex;align-items:flex-start}\n"
    "main{flex:1;overflow:auto;padding:8px}\n"
    "aside{width:340px;position:sticky;top:0;max-height:100vh;overflow:auto;padding:8px 12px;"
    "background:#fff;border-left:1px solid #cfd8dc;font-size:13px}\n"
    "#info{min-height:5em;padding:6px;margin-bottom:8px;background:#fff8e1;border:1px solid "
    "#ffe082;white-space:pre-wrap}\n"
    "aside h2{font-size:13px;margin:10px 0 2px}\n"
    "aside ol{list-style:none;margin:0;padding:0}\n"
    "aside li{padding:2px 4px;cursor:pointer}\n"
    "aside li .key{color:#78909c;float:right}\n"
    "aside li.left-out{color:#9e9e9e}\n"
    "aside li.at-risk{color:#c62828}\n"
    "aside li.selected,aside li:hover{background:#bbdefb}\n"
    ".frame{cursor:pointer}\n"
    ".frame:hover rect,.frame.selected rect{stroke:#ff6f00;fill:#ffe0b2}\n";

// Hover shows a story in the panel; a click also keeps it selected in picture and list.
const char* const gpc_Script =
    "//<![CDATA[\n"
    "(function () {\n"
    "  var info = document.getElementById('info');\n"
    "  var chosen = null;\n"
    "  function keyOf(node) {\n"
    "    while (node && node.getAttribute) {\n"
    "      var key = node.getAttribute('data-key') || node.getAttribute('data-story');\n"
    "      if (key) { return key; }\n"
    "      node = node.parentNode;\n"
    "    }\n"
    "    return null;\n"
    "  }\n"
    "  function entryOf(key) {\n"
    "    var all = document.querySelectorAll('[data-story]');\n"
    "    for (var i = 0; i < all.length; i++) {\n"
    "      if (all[i].getAttribute('data-story') === key) { return all[i]; }\n"
    "    }\n"
    "    return null;\n"
    "  }\n"
    "  function show(key) {\n"
    "    var entry = entryOf(key);\n"
    "    if (!entry) { return; }\n"
    "    info.textContent = 'Key: ' + key + '\\n' + entry.getAttribute('data-label') +\n"
    "      '\\nPreview: ' + entry.getAttribute('data-preview') +\n"
    "      (entry.getAttribute('data-note') ? '\\n' + entry.getAttribute('data-note') : '');\n"
    "  }\n"
    "  function select(key) {\n"
    "    chosen = key;\n"
    "    var all = document.querySelectorAll('[data-key],[data-story]');\n"
    "    for (var i = 0; i < all.length; i++) {\n"
    "      all[i].classList.toggle('selected', keyOf(all[i]) === key);\n"
    "    }\n"
    "    show(key);\n"
    "  }\n"
    "  document.addEventListener('mouseover', function (event) {\n"
    "    var key = keyOf(event.target);\n"
    "    if (key) { show(key); }\n"
    "  });\n"
    "  document.addEventListener('mouseout', function () {\n"
    "    if (chosen) { show(chosen); }\n"
    "  });\n"
    "  document.addEventListener('click', function (event) {\n"
    "    var key = keyOf(event.target);\n"
    "    if (key) { select(key); }\n"
    "  });\n"
    "})();\n"
    "//]]>\n";

std::string s_Esc(const std::string& s_Text) {
    return CT_MapSvgWriter::ss_Escape(s_Text);
}
}  // namespace

CT_MapHtmlWriter::CT_MapHtmlWriter(const CT_StoryMap& co_Map, const CT_MapSvgWriter& co_Svg,
                                   std::string s_Title)
    : co_Map(co_Map), co_Svg(co_Svg), s_Title(std::move(s_Title)) {}

void CT_MapHtmlWriter::v_Write(std::ostream& co_Out) const {
    co_Out << "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n"
              "<head>\n<meta charset=\"utf-8\"/>\n<title>Story map: "
           << s_Esc(s_Title) << "</title>\n<style>\n"
           << gpc_Style << "</style>\n</head>\n<body>\n<header><h1>Story map: " << s_Esc(s_Title)
           << "</h1></header>\n<div class=\"layout\">\n<main>\n";
    co_Svg.v_Write(co_Out, false);
    co_Out << "</main>\n<aside>\n<div id=\"info\">Point at a frame or a story.</div>\n";
    v_WriteList(co_Out);
    co_Out << "</aside>\n</div>\n<script>\n" << gpc_Script << "</script>\n</body>\n</html>\n";
}

void CT_MapHtmlWriter::v_WriteList(std::ostream& co_Out) const {
    std::string s_group;
    bool b_open = false;
    for (const CT_MapStory& co_story : co_Map.co_GetStories()) {
        if (!b_open || co_story.s_Group != s_group) {
            co_Out << (b_open ? "</ol>\n" : "") << "<h2>" << s_Esc(co_story.s_Group)
                   << "</h2>\n<ol>\n";
            s_group = co_story.s_Group;
            b_open = true;
        }
        const std::string s_note = co_Svg.s_NoteFor(co_story.s_Key);
        co_Out << "<li" << (s_note.empty() ? "" : " class=\"at-risk\"") << " data-story=\""
               << s_Esc(co_story.s_Key) << "\" data-label=\"" << s_Esc(co_story.s_Label)
               << "\" data-preview=\"" << s_Esc(co_story.s_Preview) << "\" data-note=\""
               << s_Esc(s_note) << "\">" << s_Esc(co_story.s_Label) << " <span class=\"key\">"
               << s_Esc(co_story.s_Key) << "</span></li>\n";
    }
    if (b_open) {
        co_Out << "</ol>\n";
    }
    if (co_Map.co_GetLeftOut().empty()) {
        return;
    }
    co_Out << "<h2>Left out</h2>\n<ol>\n";
    for (const auto& co_entry : co_Map.co_GetLeftOut()) {
        co_Out << "<li class=\"left-out\" data-story=\"" << s_Esc(co_entry.first)
               << "\" data-label=\"Left out: " << s_Esc(co_entry.second)
               << "\" data-preview=\"\" data-note=\"\">" << s_Esc(co_entry.first) << ": "
               << s_Esc(co_entry.second) << "</li>\n";
    }
    co_Out << "</ol>\n";
}
