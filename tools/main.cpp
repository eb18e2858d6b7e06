// The storyport command: parses the command line, sets up the session around the kernel and
// runs the command. See "storyport --help".
#include <exception>
#include <iostream>

#include "operations/ct_document_path.h"
#include "operations/ct_exit_status.h"
#include "platform/common/ct_errors.h"
#include "storyport/operations.h"
#include "tools/ct_cancel_signal.h"
#include "tools/ct_check_command.h"
#include "tools/ct_command_line.h"
#include "tools/ct_list_command.h"
#include "tools/ct_settings_command.h"
#include "tools/ct_tool_session.h"

namespace {
et_ExitStatus eo_Dispatch(CT_ToolSession& co_Session) {
    if (!co_Session.co_GetOptions().s_Document.empty()) {
        CT_DocumentPath::sv_Check(co_Session.co_GetOptions().s_Document);
    }
    switch (co_Session.co_GetOptions().eo_Command) {
        case CT_CommandOptions::e_List:
            return CT_ListCommand::seo_Run(co_Session);
        case CT_CommandOptions::e_Export:
            return CT_Operations::seo_Export(co_Session);
        case CT_CommandOptions::e_Import:
            return CT_Operations::seo_Import(co_Session);
        case CT_CommandOptions::e_Check:
            return CT_CheckCommand::seo_Run(co_Session);
        case CT_CommandOptions::e_Map:
            return CT_Operations::seo_Map(co_Session);
        case CT_CommandOptions::e_Pseudo:
            return CT_Operations::seo_Pseudo(co_Session);
        case CT_CommandOptions::e_BatchExport:
        case CT_CommandOptions::e_BatchImport:
            return CT_Operations::seo_Batch(co_Session);
        case CT_CommandOptions::e_SettingsShow:
            return CT_SettingsCommand::seo_RunShow(co_Session);
        case CT_CommandOptions::e_SettingsSet:
            return CT_SettingsCommand::seo_RunSet(co_Session);
        case CT_CommandOptions::e_None:
            break;
    }
    return e_ExitUsage;
}

// Runs the command; an error that reaches this far is logged once, as the command's error.
et_ExitStatus eo_RunCommand(CT_ToolSession& co_Session) {
    try {
        return eo_Dispatch(co_Session);
    } catch (et_ErrorCode) {
        co_Session.v_LogError(CT_Errors::cco_GetLastError());
    } catch (const std::exception& co_error) {
        co_Session.v_LogError(CT_String(co_error.what()));
    }
    return e_ExitError;
}
}  // namespace

int main(int i_Argc, char** ppc_Argv) {
    CT_CommandOptions co_options;
    const int i_parsed =
        CT_CommandLine::si_Parse(i_Argc, ppc_Argv, co_options, std::cout, std::cerr);
    if (i_parsed >= 0) {
        return i_parsed;
    }
    CT_CancelSignal::sv_Install();
    et_ExitStatus eo_status = e_ExitError;
    try {
        CT_ToolSession co_session(co_options);
        eo_status = eo_RunCommand(co_session);
    } catch (et_ErrorCode) {
        std::cerr << CT_ToolSession::ss_CommandErrorPrefix() << CT_Errors::cco_GetLastError().sv()
                  << std::endl;
        return e_ExitError;
    }
    // 128 + the signal, as shells report it: 130 for Ctrl-C.
    return CT_CancelSignal::sb_IsRequested() ? 128 + CT_CancelSignal::si_GetSignal() : eo_status;
}
