#include "operations/ct_check_operation.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "document/ct_document.h"
#include "map/ct_fit_report.h"
#include "map/ct_order_walk.h"
#include "operations/ct_current_document.h"
#include "operations/ct_tagged_file.h"
#include "operations/ct_work_copy.h"
#include "operations/ct_xliff_import.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "platform/common/ct_log_stream.h"
#include "platform/common/ct_run_folder.h"
#include "platform/host/ct_basic_interface.h"
#include "platform/host/ct_progress_listener.h"
#include "settings/ct_process_data.h"
#include "settings/ct_story_format_settings.h"
#include "storyorder/ct_story_order.h"
#include "textbox/ct_text_box.h"

namespace {
// What the comparison found; the lines to show, and whether they make the import unclean.
struct CT_Findings {
    std::vector<CT_CheckRecord> co_Records;
    bool b_Differs = false;

    void v_Add(const std::string& s_Kind, const std::string& s_Line, bool b_Difference,
               const std::string& s_Story = std::string()) {
        co_Records.push_back(
            CT_CheckRecord{s_Kind, s_Story, std::string(), std::string(), 0, s_Line});
        b_Differs = b_Differs || b_Difference;
    }
};

std::string s_Text(const CT_String& co_Text) {
    return std::string(co_Text.sv());
}

std::string s_Stories(std::size_t n_Count) {
    return std::to_string(n_Count) + (n_Count == 1 ? " story" : " stories");
}

// Judged first and written after, into records made room for at once: a file of tens of
// thousands of keys the document lacks would otherwise have its records, a few hundred bytes
// each, double their way there, half as many again held while they move.
void v_CompareKeys(CT_StoryOrder& co_Order, const std::vector<std::string>& co_Keys,
                   CT_Findings& co_Findings) {
    enum class et_Key : unsigned char { e_Found, e_Twice, e_Missing };
    std::vector<et_Key> co_judged;
    co_judged.reserve(co_Keys.size());
    std::unordered_set<std::string> co_seen;
    std::size_t n_records = co_Findings.co_Records.size();
    for (const std::string& s_key : co_Keys) {
        const et_Key eo_key = !co_seen.insert(s_key).second                ? et_Key::e_Twice
                              : !co_Order.b_Find(CT_String(s_key.c_str())) ? et_Key::e_Missing
                                                                           : et_Key::e_Found;
        n_records += eo_key != et_Key::e_Found;
        co_judged.push_back(eo_key);
    }
    std::vector<std::pair<CT_TextBox*, unsigned>> co_absent;
    v_ForEachBox(co_Order, [&](CT_TextBox& co_Box, unsigned n_Index) {
        if (co_seen.count(s_Text(co_Box.cco_GetKey())) == 0) {
            co_absent.emplace_back(&co_Box, n_Index);
        }
    });
    co_Findings.co_Records.reserve(n_records + co_absent.size());
    for (std::size_t n = 0; n < co_Keys.size(); ++n) {
        const std::string& s_key = co_Keys[n];
        if (co_judged[n] == et_Key::e_Twice) {
            co_Findings.v_Add("story-twice", "Twice in the file: " + s_key, true, s_key);
        } else if (co_judged[n] == et_Key::e_Missing) {
            co_Findings.v_Add("story-not-in-document", "Not in the document: " + s_key, true,
                              s_key);
        }
    }
    for (const auto& [pco_box, n_index] : co_absent) {
        const std::string s_key = s_Text(pco_box->cco_GetKey());
        pco_box->v_SetListLabel(n_index);
        co_Findings.v_Add(
            "story-not-in-file",
            "Not in the file: " + s_key + " (" + s_Text(pco_box->cco_GetListLabel()) + ")", true,
            s_key);
    }
}

CT_Findings co_Compare(CT_Session& co_Session, const CT_TaggedFile& co_File,
                       CT_CurrentDocument& co_current) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    const std::vector<std::string> co_keys = co_File.co_Keys();
    CT_Document& co_document = co_current.co_GetDocument();
    CT_StoryOrder& co_order = co_current.co_GetStoryOrder();
    const CT_String co_tagged(co_File.s_GetReadablePath().c_str());
    CT_Findings co_findings;
    const bool b_sameCount =
        co_document.eo_CompareTagFile(co_tagged) == CT_Document::e_SameStoryCount;
    co_findings.v_Add("document-stories",
                      s_Text(co_document.co_GetFileName()) + ": " + s_Stories(co_order.n_Count()),
                      !b_sameCount);
    co_findings.v_Add("file-stories",
                      s_Text(CT_Files::sco_GetFileName(CT_String(co_options.s_Tagged.c_str()))) +
                          ": " + s_Stories(co_keys.size()),
                      false);
    if (co_document.b_CompareFileName(CT_String(co_options.s_Tagged.c_str())) != 0) {
        // A translated file often carries a language in its name; the import does not mind.
        co_findings.v_Add("file-name", "Note: the file's name is not the document's name", false);
    }
    v_CompareKeys(co_order, co_keys, co_findings);
    return co_findings;
}

// An import into the open copy, saved as a real import saves it, with its log kept aside; its
// error lines, if any, are shown in the log. Nonzero when it went through.
int b_TrialImport(CT_Session& co_Session, const CT_TaggedFile& co_File, CT_Document& co_Document) {
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
        co_text << CT_Session::ss_ErrorPrefix() << CT_Errors::cco_GetLastError().sv() << "\n";
    }
    bool b_clean = b_stopped == 0;
    co_Session.v_LocateErrorsIn(&co_File);
    std::istringstream co_lines(co_text.str());
    const std::string s_prefix = CT_Session::ss_ErrorPrefix();
    for (std::string s_line; std::getline(co_lines, s_line);) {
        if (s_line.compare(0, s_prefix.size(), s_prefix) == 0) {
            co_Session.v_LogLine(s_line);
            b_clean = false;
        }
    }
    co_Session.v_LocateErrorsIn(nullptr);
    return b_clean;
}

// The XLIFF file's findings after the story comparison's: in the text, untranslated units and
// units to review are summed up in a line each, and every other finding has its own.
void v_AddXliff(const CT_XliffImport& co_Xliff, const std::string& s_File, CT_Findings& co_Findings,
                std::vector<std::string>& co_Lines) {
    for (const CT_XliffFinding& co_finding : co_Xliff.cco_GetFindings()) {
        co_Findings.co_Records.push_back(
            CT_CheckRecord{co_finding.pc_KindName(), co_finding.co_Story, co_finding.co_Unit,
                           co_finding.co_Code, co_finding.n_Line, co_finding.co_Text(s_File)});
    }
    const std::vector<std::string> co_review =
        co_Xliff.co_TellEach([&](const CT_XliffFinding& co_Finding) {
            const CT_XliffFinding::et_Weight eo_weight = co_Finding.eo_Weight();
            co_Lines.push_back((eo_weight == CT_XliffFinding::e_Error        ? "Refused: "
                                : eo_weight == CT_XliffFinding::e_Difference ? "Difference: "
                                                                             : "Note: ") +
                               co_Finding.co_Text(s_File));
        });
    const std::string s_untranslated = co_Xliff.s_UntranslatedLine();
    if (!s_untranslated.empty()) {
        co_Lines.push_back("Not translated: " + s_untranslated);
    }
    if (!co_review.empty()) {
        co_Lines.push_back("To review: " + std::to_string(co_review.size()) +
                           (co_review.size() == 1 ? " unit" : " units") + " of " + s_File);
    }
}
}  // namespace

CT_CheckResult CT_CheckOperation::sco_Run(CT_Session& co_Session) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    CT_XliffImport co_xliff(co_Session, co_options.s_Tagged);
    if (co_xliff.b_IsCancelled()) {
        CT_CheckResult co_cancelled;
        co_cancelled.eo_Status = e_ExitCanceled;
        return co_cancelled;
    }
    std::unique_ptr<CT_TaggedFile> pco_file;
    if (!co_xliff.b_IsXliff()) {
        pco_file =
            std::make_unique<CT_TaggedFile>(co_options.s_Tagged, true, co_Session.n_Threads());
    }
    // One copy in the temporary folder, opened once: compared with the file, measured for the
    // fit while it still holds the document's own text, then imported into as a real import
    // would, so that a large document is parsed and ordered only once.
    CT_WorkCopy co_copy(co_options.s_Document, CT_RunFolder::ss_Temporary());
    // The trial import's save checks what would refuse it; the copy it would write is not read.
    co_Session.co_GetHost().v_OnlyCheckSaves(co_copy.s_GetPath());
    CT_IdmlHost::CT_Contents pco_translated;
    if (pco_file) {
        co_Session.v_ListStoriesOf(co_copy.s_GetPath(), *pco_file);
        pco_translated = co_Session.pco_ImportAhead(co_copy.s_GetPath(), *pco_file);
    } else {
        co_xliff.v_ListStories(co_copy.s_GetPath());
        co_xliff.v_PlaceAhead(co_copy.s_GetPath());
    }
    co_Session.co_GetSink().v_AddRewrite(co_copy.s_GetFolder(), co_copy.s_GetDocumentFolder());
    CT_CurrentDocument co_current(co_copy.s_GetPath(), co_Session.cco_GetStoryListSettings());
    if (!pco_file) {
        co_xliff.v_Place(co_copy.s_GetPath(), co_options.s_Document);
        pco_file = std::make_unique<CT_TaggedFile>(co_xliff.s_GetTagged(), false);
    }
    const CT_TaggedFile& co_file = *pco_file;
    co_Session.co_GetSink().v_AddRewrite(co_file.s_GetReadablePath(), co_options.s_Tagged);
    CT_Findings co_findings = co_Compare(co_Session, co_file, co_current);
    std::vector<std::string> co_lines;
    for (const CT_CheckRecord& co_record : co_findings.co_Records) {
        co_lines.push_back(co_record.s_Message);
    }
    v_AddXliff(co_xliff, co_options.s_Tagged, co_findings, co_lines);
    // The file's stories were read for the import ahead unless the file is XLIFF, whose tagged
    // form is made only now.
    if (!pco_translated) {
        pco_translated = co_file.pco_Contents();
    }
    const CT_FitReport co_fit(co_Session.co_GetHost(), co_current.co_GetStoryOrder(),
                              *pco_translated, co_options.d_MaxGrowth / 100,
                              co_Session.n_Threads());
    et_ExitStatus eo_status = e_ExitOk;
    std::string s_verdict = "An import would be clean.";
    if (co_xliff.b_Refuses()) {
        const bool b_errors =
            std::any_of(co_xliff.cco_GetFindings().begin(), co_xliff.cco_GetFindings().end(),
                        [&](const CT_XliffFinding& co_Finding) {
                            return co_Finding.eo_Weight() == CT_XliffFinding::e_Error ||
                                   (co_Finding.eo_Weight() == CT_XliffFinding::e_NotTranslated &&
                                    co_options.b_RequireTranslated);
                        });
        eo_status = b_errors ? e_ExitError : e_ExitDiffers;
        s_verdict = "An import would be refused: nothing would be imported.";
    } else if (co_findings.b_Differs) {
        eo_status = e_ExitDiffers;
        s_verdict = "An import would not be clean.";
    } else if (!b_TrialImport(co_Session, co_file, co_current.co_GetDocument())) {
        eo_status = e_ExitError;
        s_verdict = "An import would not be clean: a story is refused (see the log).";
    }
    CT_CheckResult co_result;
    co_result.eo_Status = eo_status;
    co_result.co_Records = std::move(co_findings.co_Records);
    co_result.co_Lines = std::move(co_lines);
    co_result.s_Verdict = s_verdict;
    co_result.co_Fit = co_fit;
    return co_result;
}
