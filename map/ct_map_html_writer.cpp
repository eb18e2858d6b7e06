#include "map/ct_map_html_writer.h"

#include <algorithm>
#include <utility>

#include "map/ct_map_svg_writer.h"
#include "map/ct_story_map.h"

namespace {
const char* const gpc_Style =
    "body{margin:0;font-family:sans-serif;color:#222;background:#eceff1}\n"
    "header{padding:8px 16px;background:#263238;color:#fff}\n"
    "header h1{font-size:18px;margin:0}\n"
    "header p{font-size:13px;margin:2px 0 0}\n"
    ".layout{display:flex;align-items:flex-start}\n"
    "main{flex:1;overflow:auto;padding:8px}\n"
    "aside{width:360px;position:sticky;top:0;max-height:100vh;overflow:auto;padding:8px 12px;"
    "background:#fff;border-left:1px solid #cfd8dc;font-size:13px}\n"
    "#info{min-height:5em;padding:6px;margin-bottom:8px;background:#fff8e1;border:1px solid "
    "#ffe082;white-space:pre-wrap}\n"
    "#arrange{margin-bottom:8px}\n"
    "#arrange button{margin:0 4px 4px 0}\n"
    "#arrange p{margin:2px 0;color:#546e7a}\n"
    "aside h2{font-size:13px;margin:10px 0 2px}\n"
    "aside ol{list-style:none;margin:0;padding:0}\n"
    "aside li{padding:2px 4px;cursor:pointer}\n"
    "aside li[draggable]{cursor:grab}\n"
    "aside li .key{color:#78909c;float:right}\n"
    "aside li .counts{display:block;color:#607d8b;font-size:11px}\n"
    "aside li.left-out{color:#9e9e9e}\n"
    "aside li.at-risk{color:#c62828}\n"
    ".verdict{font-weight:bold}\n"
    ".v-fits{color:#2e7d32}\n"
    ".v-tight{color:#8d6e00}\n"
    ".v-overflows,.v-may-overflow{color:#c62828}\n"
    "aside li.moved{border-left:3px solid #ff6f00}\n"
    "aside li.selected,aside li:hover{background:#bbdefb}\n"
    "body.picking .frame{cursor:crosshair}\n"
    ".frame{cursor:pointer}\n"
    ".frame:hover rect,.frame.selected rect{stroke:#ff6f00;fill:#ffe0b2}\n"
    ".label.selected rect{fill:#ff6f00;stroke:#ff6f00}\n";

// Hover shows a story in the panel; a click also keeps it selected in picture and list, and a
// click in the list brings its frame into view. Stories are dragged within their page's list,
// or picked frame by frame, and the list saved as the document's order file: the download is
// made in the page, from the list as it stands.
const char* const gpc_Script =
    "//<![CDATA[\n"
    "(function () {\n"
    "  var info = document.getElementById('info');\n"
    "  var status = document.getElementById('arrange-status');\n"
    "  var chosen = null, dragged = null, picking = false, picked = [];\n"
    "  function keyOf(node) {\n"
    "    while (node && node.getAttribute) {\n"
    "      var key = node.getAttribute('data-key') || node.getAttribute('data-story') ||\n"
    "        node.getAttribute('data-for');\n"
    "      if (key) { return key; }\n"
    "      node = node.parentNode;\n"
    "    }\n"
    "    return null;\n"
    "  }\n"
    "  function first(selector, key) {\n"
    "    var all = document.querySelectorAll(selector);\n"
    "    for (var i = 0; i < all.length; i++) {\n"
    "      if (keyOf(all[i]) === key) { return all[i]; }\n"
    "    }\n"
    "    return null;\n"
    "  }\n"
    "  function show(key) {\n"
    "    var entry = first('li[data-story]', key);\n"
    "    if (!entry) { return; }\n"
    "    var lines = ['Key: ' + key, entry.getAttribute('data-label'),\n"
    "      'Preview: ' + entry.getAttribute('data-preview')];\n"
    "    ['data-place', 'data-counts', 'data-note'].forEach(function (name) {\n"
    "      if (entry.getAttribute(name)) { lines.push(entry.getAttribute(name)); }\n"
    "    });\n"
    "    info.textContent = lines.join('\\n');\n"
    "  }\n"
    "  function select(key, reveal) {\n"
    "    chosen = key;\n"
    "    var all = document.querySelectorAll('[data-key],[data-story],[data-for]');\n"
    "    for (var i = 0; i < all.length; i++) {\n"
    "      all[i].classList.toggle('selected', keyOf(all[i]) === key);\n"
    "    }\n"
    "    show(key);\n"
    "    var frame = first('g.frame[data-key]', key);\n"
    "    if (reveal && frame) {\n"
    "      frame.scrollIntoView({block: 'center', inline: 'center'});\n"
    "    }\n"
    "  }\n"
    "  function moved() {\n"
    "    document.getElementById('save-order').disabled = false;\n"
    "    status.textContent = 'Arranged: save the order file beside the document.';\n"
    "  }\n"
    "  function pick(key) {\n"
    "    var item = first('li[draggable]', key);\n"
    "    if (!item || picked.indexOf(item) >= 0) { return; }\n"
    "    var list = item.parentNode, after = null;\n"
    "    for (var i = 0; i < picked.length; i++) {\n"
    "      if (picked[i].parentNode === list) { after = picked[i]; }\n"
    "    }\n"
    "    list.insertBefore(item, after ? after.nextSibling : list.firstChild);\n"
    "    item.classList.add('moved');\n"
    "    picked.push(item);\n"
    "    moved();\n"
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
    "    if (!key) { return; }\n"
    "    var inList = event.target.closest && event.target.closest('aside');\n"
    "    if (picking && !inList) { pick(key); }\n"
    "    select(key, !!inList);\n"
    "  });\n"
    "  document.addEventListener('dragstart', function (event) {\n"
    "    dragged = event.target.closest ? event.target.closest('li[draggable]') : null;\n"
    "    if (dragged) { event.dataTransfer.setData('text/plain', keyOf(dragged)); }\n"
    "  });\n"
    "  document.addEventListener('dragover', function (event) {\n"
    "    var over = event.target.closest ? event.target.closest('li[draggable]') : null;\n"
    "    if (dragged && over && over.parentNode === dragged.parentNode) {\n"
    "      event.preventDefault();\n"
    "    }\n"
    "  });\n"
    "  document.addEventListener('drop', function (event) {\n"
    "    var over = event.target.closest ? event.target.closest('li[draggable]') : null;\n"
    "    if (!dragged || !over || over === dragged || over.parentNode !== dragged.parentNode) {\n"
    "      return;\n"
    "    }\n"
    "    event.preventDefault();\n"
    "    var box = over.getBoundingClientRect();\n"
    "    var below = event.clientY > box.top + box.height / 2;\n"
    "    over.parentNode.insertBefore(dragged, below ? over.nextSibling : over);\n"
    "    dragged.classList.add('moved');\n"
    "    dragged = null;\n"
    "    moved();\n"
    "  });\n"
    "  document.getElementById('pick-order').addEventListener('click', function () {\n"
    "    picking = !picking;\n"
    "    picked = [];\n"
    "    document.body.classList.toggle('picking', picking);\n"
    "    this.textContent = picking ? 'Stop picking' : 'Pick frames in order';\n"
    "    status.textContent = picking ? 'Click the frames in the order wanted.' : '';\n"
    "  });\n"
    "  document.getElementById('save-order').addEventListener('click', function () {\n"
    "    var name = document.body.getAttribute('data-order-file');\n"
    "    var lines = ['# The story order of ' + document.body.getAttribute('data-document') +\n"
    "      ', arranged in its story map: one story key a line, first to last.',\n"
    "      '# Beside the document, it is the custom order (--order custom) until deleted.'];\n"
    "    var items = document.querySelectorAll('li[draggable]');\n"
    "    for (var i = 0; i < items.length; i++) { lines.push(keyOf(items[i])); }\n"
    "    var blob = new Blob([lines.join('\\n') + '\\n'], {type: 'text/plain'});\n"
    "    var link = document.createElement('a');\n"
    "    link.download = name;\n"
    "    link.href = URL.createObjectURL(blob);\n"
    "    document.body.appendChild(link);\n"
    "    link.click();\n"
    "    link.remove();\n"
    "    status.textContent = 'Saved as ' + name + ': put it beside the document.';\n"
    "  });\n"
    "  var start = document.querySelector('g.frame[data-page]:not([data-page^=\"-\"])' +\n"
    "    ':not([data-page=\"0\"])');\n"
    "  if (start) {\n"
    "    start.parentNode.scrollIntoView({block: 'start'});\n"
    "  }\n"
    "})();\n"
    "//]]>\n";

std::string s_Grouped(unsigned n_Value) {
    std::string s_text = std::to_string(n_Value);
    for (std::size_t n = s_text.size(); n > 3; n -= 3) {
        s_text.insert(n - 3, ",");
    }
    return s_text;
}

std::string s_Esc(const std::string& s_Text) {
    return CT_MapSvgWriter::ss_Escape(s_Text);
}
}  // namespace

CT_MapHtmlWriter::CT_MapHtmlWriter(const CT_StoryMap& co_Map, const CT_MapSvgWriter& co_Svg,
                                   std::string s_Document, std::string s_Order)
    : co_Map(co_Map),
      co_Svg(co_Svg),
      s_Document(std::move(s_Document)),
      s_Order(std::move(s_Order)) {}

std::string CT_MapHtmlWriter::s_CountsOf(const std::string& s_Key) const {
    const auto co_found = co_Counts.find(s_Key);
    if (co_found == co_Counts.end()) {
        return std::string();
    }
    const CT_TextCount& co_all = co_found->second.co_All;
    return s_Grouped(co_all.n_Words) + (co_all.n_Words == 1 ? " word, " : " words, ") +
           s_Grouped(co_all.n_Characters) +
           (co_all.n_Characters == 1 ? " character" : " characters");
}

void CT_MapHtmlWriter::v_Write(std::ostream& co_Out) const {
    const std::string s_title = s_Document + ", " + s_Order + " order";
    co_Out << "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n"
              "<head>\n<meta charset=\"utf-8\"/>\n<title>Story map: "
           << s_Esc(s_title) << "</title>\n<style>\n"
           << gpc_Style << "</style>\n</head>\n<body data-document=\"" << s_Esc(s_Document)
           << "\" data-order-file=\"" << s_Esc(s_Document + ".order")
           << "\">\n<header><h1>Story map: " << s_Esc(s_Document) << "</h1><p>Stories in the "
           << s_Esc(s_Order) << " order"
           << (s_OrderFile.empty() ? std::string() : " from " + s_Esc(s_OrderFile))
           << (s_CheckedFile.empty() ? std::string("; the fit is of the document's own text")
                                     : "; the fit is of the translation in " + s_Esc(s_CheckedFile))
           << "</p></header>\n<div class=\"layout\">\n<main>\n";
    co_Svg.v_Write(co_Out, false);
    co_Out << "</main>\n<aside>\n<div id=\"info\">Point at a frame or a story.</div>\n"
              "<div id=\"arrange\"><button type=\"button\" id=\"pick-order\">Pick frames in "
              "order</button><button type=\"button\" id=\"save-order\" disabled=\"disabled\">"
              "Save order file</button><p>Drag stories within a page, or pick frames in the order "
              "wanted, then save "
           << s_Esc(s_Document + ".order")
           << " beside the document: 'storyport --order custom' follows it until it is "
              "deleted.</p><p id=\"arrange-status\"></p></div>\n";
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
        const CT_MapSvgWriter::CT_Fit* pco_fit = co_Svg.pco_FitOf(co_story.s_Key);
        const std::string s_note = pco_fit == nullptr ? std::string() : pco_fit->s_Sentence;
        const std::string s_counts = s_CountsOf(co_story.s_Key);
        co_Out << "<li" << (pco_fit != nullptr && pco_fit->b_AtRisk ? " class=\"at-risk\"" : "")
               << " draggable=\"true\" data-story=\"" << s_Esc(co_story.s_Key) << "\" data-label=\""
               << s_Esc(co_story.s_Label) << "\" data-preview=\"" << s_Esc(co_story.s_Preview)
               << "\" data-place=\"" << s_Esc(co_story.s_Place) << "\" data-counts=\""
               << s_Esc(s_counts) << "\" data-note=\"" << s_Esc(s_note) << "\">"
               << s_Esc(co_story.s_Label) << " <span class=\"key\">" << s_Esc(co_story.s_Key)
               << "</span>";
        if (!s_counts.empty() || pco_fit != nullptr) {
            co_Out << "<span class=\"counts\">" << s_Esc(s_counts);
            if (pco_fit != nullptr) {
                std::string s_word = CT_MapSvgWriter::spc_VerdictWord(*pco_fit);
                std::string s_class = s_word;
                std::replace(s_class.begin(), s_class.end(), ' ', '-');
                co_Out << (s_counts.empty() ? "" : "; ") << "<span class=\"verdict v-" << s_class
                       << "\">" << s_word << "</span>";
            }
            co_Out << "</span>";
        }
        co_Out << "</li>\n";
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
