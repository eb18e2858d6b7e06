#include "tools/ct_map_command.h"

#include <cctype>
#include <map>
#include <memory>
#include <sstream>
#include <utility>

#include "document/ct_document.h"
#include "map/ct_fit_report.h"
#include "map/ct_map_html_writer.h"
#include "map/ct_map_svg_writer.h"
#include "map/ct_story_map.h"
#include "operations/ct_current_document.h"
#include "operations/ct_order_file.h"
#include "operations/ct_tagged_file.h"
#include "operations/ct_tagged_stories.h"
#include "platform/common/ct_files.h"
#include "platform/host/idml/ct_idml_layout.h"
#include "tools/ct_tool_session.h"
#include "tools/ct_xliff_import.h"

namespace {
// A name that is only the ending is no name.
bool b_EndsWith(const std::string& s_Path, const std::string& s_Ending) {
    if (s_Path.size() <= s_Ending.size()) {
        return false;
    }
    const std::size_t n_from = s_Path.size() - s_Ending.size();
    for (std::size_t n = 0; n < s_Ending.size(); ++n) {
        if (std::tolower(static_cast<unsigned char>(s_Path[n_from + n])) != s_Ending[n]) {
            return false;
        }
    }
    return true;
}

void v_WriteFile(const std::string& s_Path, const std::string& s_Text) {
    CT_Files co_file;
    co_file.v_Open(CT_String(s_Path.c_str()), e_OpenWrite, 0);
    co_file.v_Write(s_Text.data(), s_Text.size());
    co_file.v_Close();
}
}  // namespace

bool CT_MapCommand::sb_IsPictureName(const std::string& s_Path) {
    return b_EndsWith(s_Path, ".svg") || sb_IsHtml(s_Path);
}

bool CT_MapCommand::sb_IsHtml(const std::string& s_Path) {
    return b_EndsWith(s_Path, ".html") || b_EndsWith(s_Path, ".htm");
}

et_ExitStatus CT_MapCommand::seo_Run(CT_ToolSession& co_Session) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    std::unique_ptr<CT_OrderFile> pco_orderFile;
    if (!co_options.s_OrderFile.empty()) {
        pco_orderFile = std::make_unique<CT_OrderFile>(co_options.s_OrderFile);
    }
    const CT_StoryListSettings& co_settings = co_Session.cco_GetStoryListSettings();
    CT_CurrentDocument co_document(co_options.s_Document, co_settings);
    if (pco_orderFile) {
        co_Session.v_ApplyOrderFile(*pco_orderFile, co_document.co_GetStoryOrder());
    }
    const CT_IdmlLayout co_layout(co_Session.co_GetHost().cco_GetActiveDocument());
    // A story is left out when none of its frames is kept: the first frame's reason says why.
    std::map<std::string, std::string> co_reasons;
    for (const CT_IdmlBoxList::CT_Frame& co_frame : co_Session.co_GetHost().co_GetFrames()) {
        if (!co_frame.s_LeftOut.empty()) {
            co_reasons.emplace(co_frame.s_Story, co_frame.s_LeftOut);
        }
    }
    const CT_StoryMap co_map(co_layout, co_document.co_GetStoryOrder(),
                             co_settings.b_GetIgnorePasteBoard() != 0, std::move(co_reasons));
    CT_MapSvgWriter co_svg(co_map);
    if (!co_options.s_CheckFile.empty()) {
        // A translation in XLIFF is read through the tagged form it imports by.
        // Checked as import and check check it, so that a broken file is told the same way.
        const CT_XliffImport co_translation(co_Session, co_options.s_CheckFile);
        const CT_TaggedFile co_checked(co_translation.s_GetTagged(),
                                       !co_translation.b_IsConverted());
        co_Session.co_GetSink().v_AddRewrite(co_checked.s_GetReadablePath(),
                                             co_options.s_CheckFile);
        const CT_FitReport co_fit(co_Session.co_GetHost(), co_document.co_GetStoryOrder(),
                                  CT_TaggedStories::sco_Read(co_checked.s_GetReadablePath()),
                                  co_options.d_MaxGrowth / 100);
        co_svg.v_SetRisks(co_fit.co_GetRisks());
    }
    std::ostringstream co_text;
    if (sb_IsHtml(co_options.s_MapFile)) {
        const std::string s_name(co_document.co_GetDocument().co_GetFileName().sv());
        CT_MapHtmlWriter(co_map, co_svg, s_name).v_Write(co_text);
    } else {
        co_svg.v_Write(co_text, true);
    }
    v_WriteFile(co_options.s_MapFile, co_text.str());
    return e_ExitOk;
}
