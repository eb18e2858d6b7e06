#include "tools/ct_transfer_command.h"

#include <memory>
#include <string>

#include "document/ct_document.h"
#include "platform/common/ct_errors.h"
#include "settings/ct_process_data.h"
#include "settings/ct_story_format_settings.h"
#include "tools/ct_current_document.h"
#include "tools/ct_operation_outcome.h"
#include "tools/ct_order_file.h"
#include "tools/ct_tool_session.h"
#include "tools/ct_work_copy.h"

namespace {
int b_ExportArranged(CT_ToolSession& co_Session, CT_ProcessData& co_Data) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    const CT_OrderFile co_orderFile(co_options.s_OrderFile);
    CT_CurrentDocument co_document(co_options.s_Document, co_Session.cco_GetStoryListSettings());
    // The same refusal as the entry point's, for the same reason: there is nothing to export.
    if (co_document.co_GetDocument().b_IsEmpty()) {
        CT_Errors::v_ThrowError(e_NoTextBox, CT_String(co_options.s_Document.c_str()));
    }
    co_Session.v_ApplyOrderFile(co_orderFile, co_document.co_GetStoryOrder());
    return co_document.co_GetDocument().b_Export(CT_String(co_options.s_Tagged.c_str()), co_Data);
}
}  // namespace

et_ExitStatus CT_TransferCommand::seo_RunExport(CT_ToolSession& co_Session) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    CT_ProcessData co_data(co_Session.co_GetLog(), CT_StoryFormatSettings(), "Export");
    CT_OperationOutcome co_outcome(co_Session);
    co_outcome.v_Run([&]() -> int {
        if (!co_options.s_OrderFile.empty()) {
            return b_ExportArranged(co_Session, co_data);
        }
        return CT_Document::sb_Export(CT_String(co_options.s_Document.c_str()),
                                      CT_String(co_options.s_Tagged.c_str()),
                                      co_Session.cco_GetStoryListSettings(), co_data);
    });
    return co_outcome.eo_GetExitStatus();
}

et_ExitStatus CT_TransferCommand::seo_RunImport(CT_ToolSession& co_Session) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    CT_ProcessData co_data(co_Session.co_GetLog(), CT_StoryFormatSettings(), "Import");
    CT_OperationOutcome co_outcome(co_Session);
    std::unique_ptr<CT_WorkCopy> pco_copy;
    co_outcome.v_Run([&]() -> int {
        const CT_StoryListSettings& co_settings = co_Session.cco_GetStoryListSettings();
        pco_copy = std::make_unique<CT_WorkCopy>(co_options.s_Document);
        co_Session.v_ListStoriesOfFile(pco_copy->s_GetPath(), co_options.s_Tagged);
        co_Session.co_GetSink().v_AddRewrite(pco_copy->s_GetFolder(),
                                             pco_copy->s_GetDocumentFolder());
        return CT_Document::sb_Import(CT_String(pco_copy->s_GetPath().c_str()),
                                      CT_String(co_options.s_Tagged.c_str()), co_settings, co_data);
    });
    const et_ExitStatus eo_status = co_outcome.eo_GetExitStatus();
    if (eo_status != e_ExitOk) {
        if (pco_copy) {
            co_Session.v_LogLine(co_options.s_Document + " was left as it was.");
        }
        return eo_status;
    }
    const std::string s_backup = pco_copy->s_Commit(!co_options.b_NoBackup);
    if (!s_backup.empty()) {
        co_Session.v_LogLine("The document as it was is kept in " + s_backup + ".");
    }
    return e_ExitOk;
}
