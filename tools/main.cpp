// The storyport command: parses the command line, sets up the session around the kernel and
// runs the command. See "storyport --help".
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
#include "tools/ct_standard_streams.h"
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

// A closed standard stream would lend its number to the next file opened, and what is meant for
// the stream would go into that file: each is held by /dev/null opened for reading instead, so
// that writing fails as it fails on a closed stream.
void v_HoldClosedStreams() {
    for (int i_fd = STDIN_FILENO; i_fd <= STDERR_FILENO; ++i_fd) {
        if (::fcntl(i_fd, F_GETFD) == -1 && errno == EBADF) {
            const int i_null = ::open("/dev/null", O_RDONLY);
            if (i_null >= 0 && i_null != i_fd) {
                ::dup2(i_null, i_fd);
                ::close(i_null);
            }
        }
    }
}

// Output that did not reach standard output or standard error is a failed command, whatever the
// command made of it (a full disk, a closed pipe's end): the buffers are written out here and
// any failure since the start turns a success into an error.
int i_Finish(int i_Status) {
    std::cout.flush();
    errno = 0;
    const bool b_outFailed = std::fflush(stdout) != 0 || std::ferror(stdout) != 0 || !std::cout;
    const int i_error = errno;
    const bool b_errFailed = std::fflush(stderr) != 0 || std::ferror(stderr) != 0 || !std::cerr;
    if (!b_outFailed && !b_errFailed) {
        return i_Status;
    }
    if (b_outFailed && !b_errFailed) {
        std::cerr << CT_ToolSession::ss_CommandErrorPrefix() << "cannot write to standard output: "
                  << (i_error != 0 ? std::strerror(i_error) : "what it received is incomplete")
                  << std::endl;
    }
    return i_Status == e_ExitOk || i_Status == e_ExitDiffers ? e_ExitError : i_Status;
}

et_ExitStatus eo_Run(CT_CommandOptions& co_Options) {
    CT_CancelSignal::sv_Install();
    et_ExitStatus eo_status = e_ExitError;
    try {
        const CT_StandardStreams co_streams(co_Options);
        CT_ToolSession co_session(co_Options);
        co_streams.v_ShowIn(co_session.co_GetSink());
        eo_status = eo_RunCommand(co_session);
        if (eo_status == e_ExitOk && !CT_CancelSignal::sb_IsRequested()) {
            co_streams.v_WriteOutput();
        }
    } catch (et_ErrorCode) {
        std::cerr << CT_ToolSession::ss_CommandErrorPrefix() << CT_Errors::cco_GetLastError().sv()
                  << std::endl;
        return e_ExitError;
    }
    return eo_status;
}
// With TZ unset the C library looks at /etc/localtime again at every conversion of a time, and
// the zip library converts the date of every entry of a package as it opens it: a system call
// per entry. Naming that same file lets the zone be read once; the time is the same.
void v_ReadTimeZoneOnce() {
    if (std::getenv("TZ") == nullptr) {
        setenv("TZ", ":/etc/localtime", 0);
    }
}

}  // namespace

int main(int i_Argc, char** ppc_Argv) {
    v_ReadTimeZoneOnce();
    v_HoldClosedStreams();
    CT_CommandOptions co_options;
    const int i_parsed =
        CT_CommandLine::si_Parse(i_Argc, ppc_Argv, co_options, std::cout, std::cerr);
    if (i_parsed >= 0) {
        return i_Finish(i_parsed);
    }
    const et_ExitStatus eo_status = eo_Run(co_options);
    // 128 + the signal, as shells report it: 130 for Ctrl-C.
    return CT_CancelSignal::sb_IsRequested() ? 128 + CT_CancelSignal::si_GetSignal()
                                             : i_Finish(eo_status);
}
