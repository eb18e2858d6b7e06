#include "tools/ct_parallel_batch.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/common/ct_errors.h"
#include "platform/common/ct_res_string.h"
#include "resources/ct_library.h"
#include "tools/ct_cancel_signal.h"
#include "tools/ct_tool_session.h"

namespace {

constexpr unsigned kn_Finished = 121;
constexpr unsigned kn_Canceled = 123;
constexpr unsigned kn_WithErrors = 124;

std::string s_Message(unsigned n_Id) {
    return std::string(CT_ResString(CT_Library::sp_GetModule(), n_Id).cco_Get().sv());
}

std::string s_ReadAll(const std::string& s_Path) {
    std::ifstream co_in(s_Path, std::ios::binary);
    std::ostringstream co_text;
    co_text << co_in.rdbuf();
    return co_text.str();
}

// One worker's log cut into its document block, its summary and what followed the summary.
struct CT_WorkerLog {
    std::string s_Block;
    unsigned n_Summary = kn_WithErrors;
    std::string s_Tail;
};

// The worker's log is a batch of one: a time line, a separator, the block, an empty line end
// and the summary. A log of another shape (a worker that failed before its batch began) is
// kept whole as the block and counts as an error.
CT_WorkerLog co_Cut(const std::string& s_Log) {
    CT_WorkerLog co_log;
    co_log.s_Block = s_Log;
    const std::size_t n_first = s_Log.find('\n');
    const std::size_t n_start =
        n_first == std::string::npos ? n_first : s_Log.find('\n', n_first + 1);
    if (n_start == std::string::npos) {
        return co_log;
    }
    std::size_t n_best = std::string::npos;
    for (unsigned n_id : {kn_Finished, kn_Canceled, kn_WithErrors}) {
        const std::string s_summary = "\n" + s_Message(n_id);
        const std::size_t n_at = s_Log.rfind(s_summary);
        if (n_at != std::string::npos && n_at >= n_start &&
            (n_best == std::string::npos || n_at > n_best)) {
            n_best = n_at;
            co_log.n_Summary = n_id;
        }
    }
    if (n_best == std::string::npos) {
        return co_log;
    }
    co_log.s_Block = s_Log.substr(n_start + 1, n_best - n_start - 1);
    co_log.s_Tail = s_Log.substr(n_best + 1 + s_Message(co_log.n_Summary).size());
    return co_log;
}

}  // namespace

CT_ParallelBatch::CT_ParallelBatch(CT_ToolSession& co_Session, std::string s_Folder,
                                   unsigned n_Jobs)
    : co_Session(co_Session), s_Folder(std::move(s_Folder)), n_Jobs(n_Jobs) {}

et_ExitStatus CT_ParallelBatch::eo_Run() {
    const std::vector<std::string>& co_documents = co_Session.co_GetOptions().co_Documents;
    std::error_code co_error;
    s_TempFolder =
        (std::filesystem::temp_directory_path(co_error) / "storyport-batch-XXXXXX").string();
    if (co_error || ::mkdtemp(&s_TempFolder[0]) == nullptr) {
        co_Session.v_LogError(CT_String("cannot make a folder for the workers' logs"));
        return e_ExitError;
    }
    std::vector<CT_Worker> co_workers(co_documents.size());
    std::size_t n_next = 0;
    unsigned n_running = 0;
    while (n_running > 0 || (n_next < co_documents.size() && !CT_CancelSignal::sb_IsRequested())) {
        if (n_running < n_Jobs && n_next < co_documents.size() &&
            !CT_CancelSignal::sb_IsRequested()) {
            v_Start(co_workers[n_next], co_documents[n_next], n_next);
            ++n_next;
            ++n_running;
            continue;
        }
        v_WaitOne(co_workers);
        --n_running;
    }
    co_workers.resize(n_next);
    et_ExitStatus eo_status = e_ExitOk;
    v_Compose(co_workers, eo_status);
    co_Session.co_GetSink().v_Finish();
    std::filesystem::remove_all(s_TempFolder, co_error);
    return eo_status;
}

std::vector<std::string> CT_ParallelBatch::co_Arguments(const std::string& s_Document) const {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    const bool b_export = co_options.eo_Command == CT_CommandOptions::e_BatchExport;
    std::vector<std::string> co_arguments = {"storyport",
                                             "--settings",
                                             co_Session.s_GetSettingsPath(),
                                             "batch",
                                             b_export ? "export" : "import",
                                             "--jobs",
                                             "1",
                                             "--folder",
                                             s_Folder};
    if (!co_options.s_Order.empty()) {
        co_arguments.insert(co_arguments.end(), {"--order", co_options.s_Order});
    }
    if (co_options.b_IgnorePasteBoard) {
        co_arguments.push_back("--ignore-pasteboard");
    }
    if (co_options.b_NoBackup) {
        co_arguments.push_back("--no-backup");
    }
    if (!co_options.s_Layers.empty()) {
        co_arguments.insert(co_arguments.end(), {"--layers", co_options.s_Layers});
    }
    for (const std::string& s_layer : co_options.co_LayerNames) {
        co_arguments.insert(co_arguments.end(), {"--layer", s_layer});
    }
    if (!co_options.s_Notes.empty()) {
        co_arguments.insert(co_arguments.end(), {"--notes", co_options.s_Notes});
    }
    if (co_options.b_AllowDifferences) {
        co_arguments.push_back("--allow-differences");
    }
    // XLIFF: the format and, for an export, its languages; for an import, its strictness.
    const std::pair<const char*, const std::string*> ao_values[] = {
        {"--format", &co_options.s_Format},
        {"--source-lang", &co_options.s_SourceLanguage},
        {"--target-lang", &co_options.s_TargetLanguage}};
    for (const auto& co_value : ao_values) {
        if (!co_value.second->empty()) {
            co_arguments.insert(co_arguments.end(), {co_value.first, *co_value.second});
        }
    }
    if (co_options.b_NoTarget) {
        co_arguments.push_back("--no-target");
    }
    if (co_options.b_RequireTranslated) {
        co_arguments.push_back("--require-translated");
    }
    co_arguments.push_back(s_Document);
    return co_arguments;
}

// The worker's log goes to a file of its own; its standard output stays the command's.
void CT_ParallelBatch::v_Start(CT_Worker& co_Worker, const std::string& s_Document,
                               std::size_t n_Index) {
    co_Worker.s_LogFile = s_TempFolder + "/" + std::to_string(n_Index) + ".log";
    const std::vector<std::string> co_arguments = co_Arguments(s_Document);
    std::vector<char*> co_argv;
    for (const std::string& s_argument : co_arguments) {
        co_argv.push_back(const_cast<char*>(s_argument.c_str()));
    }
    co_argv.push_back(nullptr);
    const int i_log = ::open(co_Worker.s_LogFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const pid_t i_pid = i_log < 0 ? -1 : ::fork();
    if (i_pid == 0) {
        ::dup2(i_log, STDERR_FILENO);
        ::close(i_log);
        ::execv("/proc/self/exe", co_argv.data());
        ::_exit(127);
    }
    if (i_log >= 0) {
        ::close(i_log);
    }
    if (i_pid < 0) {
        std::ofstream(co_Worker.s_LogFile)
            << "Error: cannot start a worker for " << s_Document << "\n\n";
        co_Worker.i_Status = e_ExitError;
        co_Worker.i_Pid = 0;
        return;
    }
    co_Worker.i_Pid = i_pid;
}

// A cancel that reached this process alone (not the whole process group, as Ctrl-C does) is
// passed on to the workers, which then cancel the way the sequential batch does.
void CT_ParallelBatch::v_WaitOne(std::vector<CT_Worker>& co_Workers) {
    int i_status = 0;
    pid_t i_pid = 0;
    bool b_passed = false;
    while ((i_pid = ::waitpid(-1, &i_status, WNOHANG)) == 0 || (i_pid < 0 && errno == EINTR)) {
        if (CT_CancelSignal::sb_IsRequested() && !b_passed) {
            for (const CT_Worker& co_worker : co_Workers) {
                if (co_worker.i_Pid > 0 && co_worker.i_Status < 0) {
                    ::kill(co_worker.i_Pid, SIGINT);
                }
            }
            b_passed = true;
        }
        ::usleep(5000);
    }
    for (CT_Worker& co_worker : co_Workers) {
        if (co_worker.i_Pid == i_pid && i_pid > 0) {
            co_worker.i_Status = WIFEXITED(i_status) ? WEXITSTATUS(i_status) : e_ExitError;
            return;
        }
    }
}

void CT_ParallelBatch::v_Compose(const std::vector<CT_Worker>& co_Workers,
                                 et_ExitStatus& eo_Status) {
    CT_LogStream& co_log = co_Session.co_GetLog();
    co_log.v_PrintTime();
    co_log << co_log.cco_Eof();
    co_log.v_Separator();
    unsigned n_summary = kn_Finished;
    bool b_canceled = CT_CancelSignal::sb_IsRequested() != 0;
    bool b_failed = false;
    std::string s_tails;
    for (const CT_Worker& co_worker : co_Workers) {
        const CT_WorkerLog co_cut = co_Cut(s_ReadAll(co_worker.s_LogFile));
        co_log << CT_String(co_cut.s_Block.c_str());
        // The worker ended its summary line; the lines it wrote after it follow the summary.
        s_tails += co_cut.s_Tail.empty() ? "" : co_cut.s_Tail.substr(1);
        b_canceled =
            b_canceled || co_cut.n_Summary == kn_Canceled || co_worker.i_Status == e_ExitCanceled;
        b_failed = b_failed || co_cut.n_Summary == kn_WithErrors || co_worker.i_Status != e_ExitOk;
        if (co_cut.n_Summary == kn_WithErrors) {
            n_summary = kn_WithErrors;
        }
    }
    n_summary = b_canceled ? kn_Canceled : n_summary;
    co_log << co_log.cco_Eof() << CT_String(s_Message(n_summary).c_str());
    if (!s_tails.empty()) {
        co_log << co_log.cco_Eof() << CT_String(s_tails.c_str());
    }
    eo_Status = b_canceled ? e_ExitCanceled : b_failed ? e_ExitError : e_ExitOk;
}
