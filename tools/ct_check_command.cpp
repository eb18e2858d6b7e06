#include "tools/ct_check_command.h"

#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "document/ct_document.h"
#include "map/ct_fit_report.h"
#include "map/ct_json_string.h"
#include "map/ct_order_walk.h"
#include "operations/ct_current_document.h"
#include "operations/ct_tagged_file.h"
#include "operations/ct_tagged_stories.h"
#include "operations/ct_work_copy.h"
#include "operations/ct_xliff_import.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "platform/common/ct_log_stream.h"
#include "platform/host/ct_basic_interface.h"
#include "platform/host/ct_progress_listener.h"
#include "settings/ct_process_data.h"
#include "settings/ct_story_format_settings.h"
#include "storyorder/ct_story_order.h"
#include "textbox/ct_text_box.h"
#include "tools/ct_tool_session.h"

namespace {
// What the comparison found; the lines to show, and whether they make the import unclean.
struct CT_Findings {
    std::vector<std::string> co_Lines;
    bool b_Differs = false;

    void v_Add(const std::string& s_Line, bool b_Difference) {
        co_Lines.push_back(s_Line);
        b_Differs = b_Differs || b_Difference;
    }
};

std::string s_Text(const CT_String& co_Text) {
    return std::string(co_Text.sv());
}

std::string s_Stories(std::size_t n_Count) {
    return std::to_string(n_Count) + (n_Count == 1 ? " story" : " stories");
}

// The keys of the file's stories, in file order, read the way an import reads them.
std::vector<std::string> co_ReadKeys(const CT_TaggedFile& co_File) {
    std::vector<std::string> co_keys;
    for (const CT_TaggedFile::CT_Story& co_story : co_File.co_GetStories()) {
        co_keys.push_back(co_story.s_Key);
    }
    return co_keys;
}

void v_CompareKeys(CT_StoryOrder& co_Order, const std::vector<std::string>& co_Keys,
                   CT_Findings& co_Findings) {
    std::unordered_set<std::string> co_seen;
    for (const std::string& s_key : co_Keys) {
        if (!co_seen.insert(s_key).second) {
            co_Findings.v_Add("Twice in the file: " + s_key, true);
            continue;
        }
        if (!co_Order.b_Find(CT_String(s_key.c_str()))) {
            co_Findings.v_Add("Not in the document: " + s_key, true);
        }
    }
    v_ForEachBox(co_Order, [&](CT_TextBox& co_Box, unsigned n_Index) {
        const std::string s_key = s_Text(co_Box.cco_GetKey());
        if (co_seen.count(s_key) == 0) {
            co_Box.v_SetListLabel(n_Index);
            co_Findings.v_Add(
                "Not in the file: " + s_key + " (" + s_Text(co_Box.cco_GetListLabel()) + ")", true);
        }
    });
}

CT_Findings co_Compare(CT_ToolSession& co_Session, const CT_TaggedFile& co_File,
                       CT_CurrentDocument& co_current) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    const std::vector<std::string> co_keys = co_ReadKeys(co_File);
    CT_Document& co_document = co_current.co_GetDocument();
    CT_StoryOrder& co_order = co_current.co_GetStoryOrder();
    const CT_String co_tagged(co_File.s_GetReadablePath().c_str());
    CT_Findings co_findings;
    const bool b_sameCount =
        co_document.eo_CompareTagFile(co_tagged) == CT_Document::e_SameStoryCount;
    co_findings.v_Add(s_Text(co_document.co_GetFileName()) + ": " + s_Stories(co_order.n_Count()),
                      !b_sameCount);
    co_findings.v_Add(s_Text(CT_Files::sco_GetFileName(CT_String(co_options.s_Tagged.c_str()))) +
                          ": " + s_Stories(co_keys.size()),
                      false);
    if (co_document.b_CompareFileName(CT_String(co_options.s_Tagged.c_str())) != 0) {
        // A translated file often carries a language in its name; the import does not mind.
        co_findings.v_Add("Note: the file's name is not the document's name", false);
    }
    v_CompareKeys(co_order, co_keys, co_findings);
    return co_findings;
}

// An import into the open copy, saved as a real import saves it, with its log kept aside; its
// error lines, if any, are shown in the log. Nonzero when it went through.
int b_TrialImport(CT_ToolSession& co_Session, const CT_TaggedFile& co_File,
                  CT_Document& co_Document) {
    std::ostringstream co_text;
    CT_LogStream co_log(co_text);
    CT_ProcessData co_data(co_log, CT_StoryFormatSettings(), "Check");
    CT_Errors::v_ResetError();
    int b_stopped = 0;
    try {
        b_stopped = CT_ProgressListener::sb_IsCancel() ||
                    co_Document.b_Import(CT_String(co_File.s_GetReadablePath().c_str()), co_data);
        if (b_stopped == 0) {
            co_Document.v_Save();
        }
    } catch (et_ErrorCode) {
        co_text << CT_ToolSession::ss_ErrorPrefix() << CT_Errors::cco_GetLastError().sv() << "\n";
    }
    co_Session.v_ClearProgress();
    bool b_clean = b_stopped == 0;
    co_Session.v_LocateErrorsIn(&co_File);
    std::istringstream co_lines(co_text.str());
    const std::string s_prefix = CT_ToolSession::ss_ErrorPrefix();
    for (std::string s_line; std::getline(co_lines, s_line);) {
        if (s_line.compare(0, s_prefix.size(), s_prefix) == 0) {
            co_Session.v_LogLine(s_line);
            b_clean = false;
        }
    }
    co_Session.v_LocateErrorsIn(nullptr);
    return b_clean;
}
}  // namespace

et_ExitStatus CT_CheckCommand::seo_Run(CT_ToolSession& co_Session) {
    const CT_XliffImport co_xliff(co_Session, co_Session.co_GetOptions().s_Tagged);
    const CT_TaggedFile co_file(co_xliff.s_GetTagged(), !co_xliff.b_IsConverted());
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    // One copy in the temporary folder, opened once: compared with the file, measured for the
    // fit while it still holds the document's own text, then imported into as a real import
    // would, so that a large document is parsed and ordered only once.
    CT_WorkCopy co_copy(co_options.s_Document, std::filesystem::temp_directory_path().string());
    co_Session.v_ListStoriesOfFile(co_copy.s_GetPath(), co_file.s_GetReadablePath());
    co_Session.co_GetSink().v_AddRewrite(co_copy.s_GetFolder(), co_copy.s_GetDocumentFolder());
    co_Session.co_GetSink().v_AddRewrite(co_file.s_GetReadablePath(), co_file.s_GetPath());
    CT_CurrentDocument co_current(co_copy.s_GetPath(), co_Session.cco_GetStoryListSettings());
    const CT_Findings co_findings = co_Compare(co_Session, co_file, co_current);
    const CT_FitReport co_fit(co_Session.co_GetHost(), co_current.co_GetStoryOrder(),
                              CT_TaggedStories::sco_Read(co_file.s_GetReadablePath()),
                              co_options.d_MaxGrowth / 100);
    et_ExitStatus eo_status = e_ExitOk;
    std::string s_verdict = "An import would be clean.";
    if (co_findings.b_Differs) {
        eo_status = e_ExitDiffers;
        s_verdict = "An import would not be clean.";
    } else if (!b_TrialImport(co_Session, co_file, co_current.co_GetDocument())) {
        eo_status = e_ExitError;
        s_verdict = "An import would not be clean: a story is refused (see the log).";
    }
    if (co_options.b_Json) {
        std::cout << "{\n  \"document\": " << CT_JsonString::ss_Quote(co_options.s_Document)
                  << ",\n  \"file\": " << CT_JsonString::ss_Quote(co_options.s_Tagged)
                  << ",\n  \"findings\": [";
        const char* pc_separator = "\n    ";
        for (const std::string& s_line : co_findings.co_Lines) {
            std::cout << pc_separator << CT_JsonString::ss_Quote(s_line);
            pc_separator = ",\n    ";
        }
        std::cout << "\n  ],\n  \"clean\": " << (eo_status == e_ExitOk ? "true" : "false")
                  << ",\n  \"verdict\": " << CT_JsonString::ss_Quote(s_verdict) << ",\n  \"fit\": ";
        co_fit.v_PrintJson(std::cout, "  ");
        std::cout << "\n}" << std::endl;
        return eo_status;
    }
    for (const std::string& s_line : co_findings.co_Lines) {
        std::cout << s_line << "\n";
    }
    std::cout << s_verdict << "\n";
    co_fit.v_PrintText(std::cout);
    std::cout.flush();
    return eo_status;
}
