#include "tools/ct_standard_streams.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "operations/ct_file_kind.h"
#include "operations/ct_log_sink.h"
#include "operations/ct_session.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_run_folder.h"

namespace {
const char* const gpc_Stream = "-";

// The slot of the options that names a translation to read, or the exported file to write.
std::string* ps_InputSlot(CT_CommandOptions& co_Options) {
    switch (co_Options.eo_Command) {
        case CT_CommandOptions::e_Import:
        case CT_CommandOptions::e_Check:
            return &co_Options.s_Tagged;
        case CT_CommandOptions::e_Map:
            return &co_Options.s_CheckFile;
        default:
            return nullptr;
    }
}

std::string* ps_OutputSlot(CT_CommandOptions& co_Options) {
    switch (co_Options.eo_Command) {
        case CT_CommandOptions::e_Export:
            return &co_Options.s_Tagged;
        case CT_CommandOptions::e_Pseudo:
            return &co_Options.s_PseudoXliff;
        default:
            return nullptr;
    }
}

// Named after the document, as the file would be, so that nothing tells it from one.
std::string s_StandIn(const CT_CommandOptions& co_Options, const std::string& s_Extension) {
    return CT_RunFolder::ss_Temporary() +
           std::filesystem::path(co_Options.s_Document).stem().string() + s_Extension;
}

// Standard input to its end into the file.
void v_ReadInput(const std::string& s_Path) {
    std::ofstream co_file(s_Path, std::ios::binary | std::ios::trunc);
    char ac_buffer[64 * 1024];
    for (;;) {
        const ssize_t n_read = ::read(STDIN_FILENO, ac_buffer, sizeof ac_buffer);
        if (n_read == 0) {
            break;
        }
        if (n_read < 0) {
            if (errno == EINTR) {
                continue;
            }
            CT_Errors::v_ThrowError(
                e_FileRead,
                CT_String(
                    ("cannot read standard input: " + std::string(std::strerror(errno))).c_str()));
        }
        co_file.write(ac_buffer, n_read);
    }
    co_file.close();
    if (!co_file) {
        CT_Errors::v_ThrowError(
            e_FileWrite,
            CT_String(
                ("cannot keep standard input in " + s_Path + ": " + std::strerror(errno)).c_str()));
    }
}
}  // namespace

CT_StandardStreams::CT_StandardStreams(CT_CommandOptions& co_Options) {
    if (std::string* ps_slot = ps_InputSlot(co_Options);
        ps_slot != nullptr && *ps_slot == gpc_Stream) {
        s_Input = s_StandIn(co_Options, ".input");
        v_ReadInput(s_Input);
        const bool b_xliff =
            CT_FileKind::seo_Guess(CT_FileKind::ss_ReadHead(s_Input)) == CT_FileKind::e_Xliff;
        const std::string s_named = s_StandIn(co_Options, b_xliff ? ".xlf" : ".stt");
        std::error_code co_error;
        std::filesystem::rename(s_Input, s_named, co_error);
        if (co_error) {
            CT_Errors::v_ThrowError(e_FileWrite, CT_String(("cannot keep standard input in " +
                                                            s_named + ": " + co_error.message())
                                                               .c_str()));
        }
        s_Input = s_named;
        *ps_slot = s_Input;
    }
    if (std::string* ps_slot = ps_OutputSlot(co_Options);
        ps_slot != nullptr && *ps_slot == gpc_Stream) {
        const bool b_xliff =
            co_Options.eo_Command == CT_CommandOptions::e_Pseudo || co_Options.s_Format == "xliff";
        s_Output = s_StandIn(co_Options, b_xliff ? ".xlf" : ".stt");
        *ps_slot = s_Output;
    }
}

CT_StandardStreams::~CT_StandardStreams() {
    std::error_code co_ignored;
    for (const std::string* ps_file : {&s_Input, &s_Output}) {
        if (!ps_file->empty()) {
            std::filesystem::remove(*ps_file, co_ignored);
        }
    }
}

void CT_StandardStreams::v_ShowIn(CT_LogSink& co_Sink) const {
    if (!s_Input.empty()) {
        co_Sink.v_AddLastRewrite(s_Input, "standard input");
    }
    if (!s_Output.empty()) {
        co_Sink.v_AddLastRewrite(s_Output, "standard output");
    }
}

void CT_StandardStreams::v_WriteOutput() const {
    if (s_Output.empty()) {
        return;
    }
    std::ifstream co_file(s_Output, std::ios::binary);
    char ac_buffer[64 * 1024];
    while (co_file.read(ac_buffer, sizeof ac_buffer) || co_file.gcount() > 0) {
        std::fwrite(ac_buffer, 1, static_cast<std::size_t>(co_file.gcount()), stdout);
    }
}
