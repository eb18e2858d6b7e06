#include "tools/ct_import_batch_action.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "tools/ct_log_sink.h"

namespace {
std::string s_Canonical(const std::string& s_Path) {
    std::error_code co_error;
    const std::filesystem::path co_path = std::filesystem::weakly_canonical(s_Path, co_error);
    return co_error ? s_Path : co_path.string();
}
}  // namespace

CT_ImportBatchAction::CT_ImportBatchAction(const CT_LogSink& co_Sink) : co_Sink(co_Sink) {}

int CT_ImportBatchAction::b_Execute(const CT_String& co_TaggedFile, CT_ProcessData& co_Data) {
    const unsigned n_errorsBefore = co_Sink.n_GetErrorLines();
    const int b_stopped = pco_Document->b_Import(co_TaggedFile, co_Data);
    co_Handled.push_back(s_Canonical(std::string(pco_Document->co_GetFilePath().sv())));
    co_Clean.push_back(b_stopped == 0 && co_Sink.n_GetErrorLines() == n_errorsBefore);
    return b_stopped;
}

bool CT_ImportBatchAction::b_WasClean(const std::string& s_DocumentPath) const {
    const auto it_found =
        std::find(co_Handled.begin(), co_Handled.end(), s_Canonical(s_DocumentPath));
    return it_found != co_Handled.end() && co_Clean[it_found - co_Handled.begin()];
}

void CT_ImportBatchAction::v_DropLast() {
    if (!co_Clean.empty()) {
        co_Clean.back() = false;
    }
}
