#include "operations/ct_import_operation.h"

#include <memory>
#include <string>
#include <vector>

#include "document/ct_document.h"
#include "operations/ct_current_document.h"
#include "operations/ct_import_gate.h"
#include "operations/ct_operation_outcome.h"
#include "operations/ct_session.h"
#include "operations/ct_tagged_file.h"
#include "operations/ct_work_copy.h"
#include "operations/ct_xliff_import.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_res_string.h"
#include "platform/host/ct_progress_listener.h"
#include "resources/ct_library.h"
#include "settings/ct_process_data.h"
#include "settings/ct_story_format_settings.h"

namespace {
// The line the kernel ends an import with that ran to its end: its count of the stories taken.
std::string s_CountLine(unsigned n_Stories) {
    const CT_ResString co_line(CT_Library::sp_GetModule(), n_Stories == 1 ? 111 : 112, "%");
    return std::string((n_Stories == 1 ? co_line.cco_Get() : co_line.cco_Get(n_Stories)).sv());
}
}  // namespace

CT_ImportResult CT_ImportOperation::sco_Run(CT_Session& co_Session) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    CT_ProcessData co_data(co_Session.co_GetLog(), CT_StoryFormatSettings(), "Import");
    CT_OperationOutcome co_outcome(co_Session);
    std::unique_ptr<CT_TaggedFile> pco_tagged;
    std::unique_ptr<CT_WorkCopy> pco_copy;
    std::unique_ptr<CT_XliffImport> pco_xliff;
    CT_ImportResult co_result;
    bool b_refused = false;
    bool b_importing = false;
    bool b_counted = false;  // the kernel ended with its count, co_result.n_Stories
    co_Session.co_GetSink().v_HoldAfterError(true);
    co_outcome.v_Run([&]() -> int {
        pco_xliff = std::make_unique<CT_XliffImport>(co_Session, co_options.s_Tagged);
        if (pco_xliff->b_IsCancelled()) {
            return 1;
        }
        if (!pco_xliff->b_IsXliff()) {
            pco_tagged =
                std::make_unique<CT_TaggedFile>(co_options.s_Tagged, true, co_Session.n_Threads());
        }
        const CT_StoryListSettings& co_settings = co_Session.cco_GetStoryListSettings();
        // The copy is a byte copy of the document: it is opened once, compared with the file
        // and imported into, so that a large document is parsed and ordered only once.
        pco_copy = std::make_unique<CT_WorkCopy>(co_options.s_Document);
        if (pco_tagged) {
            co_Session.v_ListStoriesOf(pco_copy->s_GetPath(), *pco_tagged);
            co_Session.pco_ImportAhead(pco_copy->s_GetPath(), *pco_tagged);
        } else {
            pco_xliff->v_ListStories(pco_copy->s_GetPath());
            pco_xliff->v_PlaceAhead(pco_copy->s_GetPath());
        }
        co_Session.co_GetSink().v_AddRewrite(pco_copy->s_GetFolder(),
                                             pco_copy->s_GetDocumentFolder());
        CT_CurrentDocument co_current(pco_copy->s_GetPath(), co_settings);
        CT_Document& co_document = co_current.co_GetDocument();
        if (co_document.b_IsEmpty()) {
            CT_Errors::v_ThrowError(e_NoTextBox, CT_String(co_options.s_Document.c_str()));
        }
        if (!pco_tagged) {
            pco_xliff->v_Place(pco_copy->s_GetPath(), co_options.s_Document);
            pco_xliff->v_Admit();
            pco_tagged = std::make_unique<CT_TaggedFile>(pco_xliff->s_GetTagged(), false);
        }
        co_Session.co_GetSink().v_AddRewrite(pco_tagged->s_GetReadablePath(), co_options.s_Tagged);
        b_refused = !CT_ImportGate::sb_Admit(co_Session, *pco_tagged, co_current.co_GetStoryOrder(),
                                             co_options.s_Document);
        if (b_refused) {
            return 0;
        }
        b_importing = true;
        if (CT_ProgressListener::sb_IsCancel()) {
            return 1;
        }
        co_Session.v_LocateErrorsIn(pco_tagged.get());
        const int b_stopped =
            co_document.b_Import(CT_String(pco_tagged->s_GetReadablePath().c_str()), co_data);
        b_counted = b_stopped == 0;
        co_result.n_Stories = co_Session.co_GetHost().n_GetStoryCounter();
        // A stopped import leaves nothing to keep: the copy is dropped.
        if (b_stopped == 0) {
            co_document.v_Save();
        }
        return b_stopped != 0;
    });
    co_Session.v_LocateErrorsIn(nullptr);
    co_Session.co_GetSink().v_HoldAfterError(false);
    const std::vector<std::string> co_held = co_Session.co_GetSink().co_TakeHeld();
    if (b_refused) {
        co_result.eo_Status = e_ExitDiffers;
        co_result.n_Stories = 0;
        return co_result;
    }
    co_result.eo_Status = co_outcome.eo_GetExitStatus();
    if (co_result.eo_Status != e_ExitOk) {
        // The stories counted after an error went into the working copy, which is dropped:
        // the user is told what happened to the document instead.
        const std::string s_count = b_counted ? s_CountLine(co_result.n_Stories) : std::string();
        for (const std::string& s_line : co_held) {
            if (!s_line.empty() && s_line != s_count) {
                co_Session.v_LogLine(s_line);
            }
        }
        if (b_importing) {
            co_Session.v_LogLine("Nothing was imported: " + co_options.s_Document +
                                 " was left as it was.");
        }
        co_result.n_Stories = 0;
        return co_result;
    }
    for (const std::string& s_line : co_held) {
        co_Session.v_LogLine(s_line);
    }
    co_result.s_Backup = pco_copy->s_Commit(!co_options.b_NoBackup);
    if (!co_result.s_Backup.empty()) {
        co_Session.v_LogLine("The document as it was is kept in " + co_result.s_Backup + ".");
    }
    return co_result;
}
