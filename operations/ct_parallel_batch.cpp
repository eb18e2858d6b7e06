#include "operations/ct_parallel_batch.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "batch/ct_batch.h"
#include "operations/ct_batch_folder.h"
#include "operations/ct_session.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_res_string.h"
#include "platform/common/ct_run_folder.h"
#include "resources/ct_library.h"

namespace {

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
    unsigned n_Summary = CT_Batch::e_WithErrorsSummary;
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
    for (unsigned n_id : {CT_Batch::e_FinishedSummary, CT_Batch::e_CanceledSummary,
                          CT_Batch::e_WithErrorsSummary}) {
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

CT_ParallelBatch::CT_ParallelBatch(CT_Session& co_Session, const CT_BatchFolder& co_BatchFolder,
                                   std::string s_Folder, unsigned n_Jobs,
                                   std::vector<std::string> co_Paths)
    : co_Session(co_Session),
      co_BatchFolder(co_BatchFolder),
      s_Folder(std::move(s_Folder)),
      n_Jobs(n_Jobs),
      co_Paths(std::move(co_Paths)) {}

// Documents go out in their order. One whose batch could end the whole batch, as the first
// document done ends what an error may stop, waits for the documents before it: a runner error
// on a document before any was done ends the sequential batch there, later on it is cleared.
et_ExitStatus CT_ParallelBatch::eo_Run() {
    const std::vector<std::string>& co_paths = co_Paths;
    std::error_code co_error;
    try {
        s_TempFolder = CT_RunFolder::ss_Temporary() + "batch-XXXXXX";
    } catch (et_ErrorCode) {
        co_Session.v_LogError(CT_Errors::cco_GetLastError());
        CT_Errors::v_ResetError();
        return e_ExitError;
    }
    if (::mkdtemp(&s_TempFolder[0]) == nullptr) {
        co_Session.v_LogError(CT_String("cannot make a folder for the workers' logs"));
        return e_ExitError;
    }
    ::signal(SIGPIPE, SIG_IGN);  // a worker that died is seen by its answers, not by a signal
    co_Documents.assign(co_paths.size(), CT_Document());
    std::vector<CT_Worker> co_workers(std::min<std::size_t>(n_Jobs, co_paths.size()));
    for (std::size_t n = 0; n < co_workers.size(); ++n) {
        b_Start(co_workers[n], n);
    }
    std::size_t n_next = 0;
    while (true) {
        bool b_busy = false;
        for (const CT_Worker& co_worker : co_workers) {
            b_busy = b_busy || co_worker.i_Document >= 0;
        }
        for (CT_Worker& co_worker : co_workers) {
            const bool b_ready = n_next < co_paths.size() && !b_Ended &&
                                 !co_Session.b_IsCanceled() && (n_FirstDone < n_next || !b_busy);
            if (co_worker.i_Document >= 0 || !b_ready) {
                continue;
            }
            if (co_worker.i_Pid <= 0) {
                // No worker could be started for this slot: the document says so.
                co_Documents[n_next].s_LogFile =
                    s_TempFolder + "/" + std::to_string(n_next) + ".log";
                std::ofstream(co_Documents[n_next].s_LogFile)
                    << "Error: cannot start a worker for " << co_paths[n_next] << "\n\n";
                co_Documents[n_next].i_Status = e_ExitError;
                ++n_next;
                continue;
            }
            v_Send(co_worker, n_next++);
            b_busy = true;
        }
        if (!b_busy) {
            break;
        }
        v_WaitAnswer(co_workers);
    }
    for (CT_Worker& co_worker : co_workers) {
        v_Stop(co_worker);
    }
    et_ExitStatus eo_status = e_ExitOk;
    v_Compose(n_next, eo_status);
    co_Session.co_GetSink().v_Finish();
    std::filesystem::remove_all(s_TempFolder, co_error);
    return eo_status;
}

std::vector<std::string> CT_ParallelBatch::co_Arguments() const {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    const bool b_export = co_options.eo_Command == CT_CommandOptions::e_BatchExport;
    std::vector<std::string> co_arguments = {"storyport",
                                             "--settings",
                                             co_Session.s_GetSettingsPath(),
                                             "batch",
                                             b_export ? "export" : "import",
                                             "--jobs",
                                             "1",
                                             "--worker",
                                             "--folder",
                                             s_Folder};
    if (!co_options.s_Order.empty()) {
        co_arguments.insert(co_arguments.end(), {"--order", co_options.s_Order});
    }
    if (co_options.n_Threads != 0) {
        co_arguments.insert(co_arguments.end(),
                            {"--threads", std::to_string(co_options.n_Threads)});
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
    if (co_options.b_Force) {
        co_arguments.push_back("--force");
    }
    // XLIFF: the format and, for an export, its languages; for an import, its strictness.
    const std::pair<const char*, const std::string*> ao_values[] = {
        {"--format", &co_options.s_Format},
        {"--source-lang", &co_options.s_SourceLanguage},
        {"--target-lang", &co_options.s_TargetLanguage},
        {"--codes", &co_options.s_Codes}};
    for (const auto& co_value : ao_values) {
        if (!co_value.second->empty()) {
            co_arguments.insert(co_arguments.end(), {co_value.first, *co_value.second});
        }
    }
    if (co_options.b_NoTarget) {
        co_arguments.push_back("--no-target");
    }
    if (co_options.b_NoLimits) {
        co_arguments.push_back("--no-limits");
    }
    if (co_options.b_RequireTranslated) {
        co_arguments.push_back("--require-translated");
    }
    // The documents come one by one on the worker's input; the first stands for them here.
    co_arguments.push_back(co_Paths.front());
    return co_arguments;
}

// A worker reads its jobs on its standard input and answers on descriptor 3; its standard
// output stays the command's, and what it writes before its first job is dropped.
bool CT_ParallelBatch::b_Start(CT_Worker& co_Worker, std::size_t n_Number) {
    co_Worker = CT_Worker();
    const std::vector<std::string> co_arguments = co_Arguments();
    std::vector<char*> co_argv;
    for (const std::string& s_argument : co_arguments) {
        co_argv.push_back(const_cast<char*>(s_argument.c_str()));
    }
    co_argv.push_back(nullptr);
    const std::string s_log = s_TempFolder + "/worker-" + std::to_string(n_Number) + ".log";
    int ai_jobs[2] = {-1, -1};
    int ai_answers[2] = {-1, -1};
    const int i_log = ::open(s_log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (i_log < 0 || ::pipe2(ai_jobs, O_CLOEXEC) != 0 || ::pipe2(ai_answers, O_CLOEXEC) != 0) {
        for (int i_fd : {i_log, ai_jobs[0], ai_jobs[1], ai_answers[0], ai_answers[1]}) {
            if (i_fd >= 0) {
                ::close(i_fd);
            }
        }
        return false;
    }
    const pid_t i_pid = ::fork();
    if (i_pid == 0) {
        ::dup2(ai_jobs[0], STDIN_FILENO);
        ::dup2(ai_answers[1], 3);
        ::dup2(i_log, STDERR_FILENO);
        ::execv(co_Session.s_GetWorkerProgram().c_str(), co_argv.data());
        ::_exit(127);
    }
    for (int i_fd : {i_log, ai_jobs[0], ai_answers[1]}) {
        ::close(i_fd);
    }
    if (i_pid < 0) {
        ::close(ai_jobs[1]);
        ::close(ai_answers[0]);
        return false;
    }
    co_Worker.i_Pid = i_pid;
    co_Worker.i_Jobs = ai_jobs[1];
    co_Worker.i_Answers = ai_answers[0];
    return true;
}

void CT_ParallelBatch::v_Send(CT_Worker& co_Worker, std::size_t n_Index) {
    CT_Document& co_document = co_Documents[n_Index];
    co_document.s_LogFile = s_TempFolder + "/" + std::to_string(n_Index) + ".log";
    co_document.b_AfterDone = n_FirstDone < n_Index;
    // Each field ends with a NUL, the one byte no path holds: a name may hold tabs and line
    // feeds.
    const std::string s_job = std::string(co_document.b_AfterDone ? "A" : "F") + '\0' +
                              co_document.s_LogFile + '\0' + co_Paths[n_Index] + '\0' +
                              co_BatchFolder.s_SubfolderOf(co_Paths[n_Index]) + '\0';
    co_Worker.i_Document = static_cast<long>(n_Index);
    if (::write(co_Worker.i_Jobs, s_job.data(), s_job.size()) !=
        static_cast<ssize_t>(s_job.size())) {
        // The worker is gone; waiting for its answer finds that out.
        ::close(co_Worker.i_Jobs);
        co_Worker.i_Jobs = -1;
    }
}

// A cancel that reached this process alone (not the whole process group, as Ctrl-C does) is
// passed on to the workers, which then cancel the way the sequential batch does.
void CT_ParallelBatch::v_WaitAnswer(std::vector<CT_Worker>& co_Workers) {
    bool b_passed = false;
    while (true) {
        if (co_Session.b_IsCanceled() && !b_passed) {
            for (const CT_Worker& co_worker : co_Workers) {
                if (co_worker.i_Pid > 0 && co_worker.i_Document >= 0) {
                    ::kill(co_worker.i_Pid, SIGINT);
                }
            }
            b_passed = true;
        }
        std::vector<pollfd> co_polled;
        std::vector<CT_Worker*> co_busy;
        for (CT_Worker& co_worker : co_Workers) {
            if (co_worker.i_Document >= 0) {
                co_polled.push_back({co_worker.i_Answers, POLLIN, 0});
                co_busy.push_back(&co_worker);
            }
        }
        if (::poll(co_polled.data(), co_polled.size(), 100) <= 0) {
            continue;
        }
        for (std::size_t n = 0; n < co_polled.size(); ++n) {
            if (co_polled[n].revents == 0) {
                continue;
            }
            CT_Worker& co_worker = *co_busy[n];
            char ac_buffer[256];
            const ssize_t i_read = ::read(co_worker.i_Answers, ac_buffer, sizeof ac_buffer);
            if (i_read < 0 && errno == EINTR) {
                continue;
            }
            if (i_read <= 0) {
                // The worker ended without an answer: its document failed; a new worker takes
                // the slot.
                const std::size_t n_index = static_cast<std::size_t>(co_worker.i_Document);
                co_Documents[n_index].i_Status = e_ExitError;
                std::ofstream(co_Documents[n_index].s_LogFile, std::ios::app)
                    << "Error: the worker for " << co_Paths[n_index]
                    << " ended before the document was done\n\n";
                v_Stop(co_worker);
                b_Start(co_worker, co_Documents.size() + ++n_Restarts);
                return;
            }
            co_worker.s_Answer.append(ac_buffer, static_cast<std::size_t>(i_read));
            const std::size_t n_end = co_worker.s_Answer.find('\n');
            if (n_end != std::string::npos) {
                const std::string s_answer = co_worker.s_Answer.substr(0, n_end);
                co_worker.s_Answer.erase(0, n_end + 1);
                v_Answered(co_worker, s_answer);
                return;
            }
        }
    }
}

void CT_ParallelBatch::v_Answered(CT_Worker& co_Worker, const std::string& s_Answer) {
    const std::size_t n_index = static_cast<std::size_t>(co_Worker.i_Document);
    co_Worker.i_Document = -1;
    CT_Document& co_document = co_Documents[n_index];
    int i_status = e_ExitError;
    int i_done = 0;
    int i_raised = 0;
    if (std::sscanf(s_Answer.c_str(), "%d\t%d\t%d", &i_status, &i_done, &i_raised) != 3) {
        i_status = e_ExitError;
    }
    co_document.i_Status = i_status;
    co_document.b_Done = i_done != 0;
    co_document.b_Raised = i_raised != 0;
    if (co_document.b_Done && n_index < n_FirstDone) {
        n_FirstDone = n_index;
    }
    // Nothing was done before this document, so the sequential batch would have ended here.
    b_Ended = b_Ended || (co_document.b_Raised && !co_document.b_AfterDone);
}

void CT_ParallelBatch::v_Stop(CT_Worker& co_Worker) {
    for (int* pi_fd : {&co_Worker.i_Jobs, &co_Worker.i_Answers}) {
        if (*pi_fd >= 0) {
            ::close(*pi_fd);
            *pi_fd = -1;
        }
    }
    if (co_Worker.i_Pid > 0) {
        int i_status = 0;
        while (::waitpid(co_Worker.i_Pid, &i_status, 0) < 0 && errno == EINTR) {
        }
    }
    co_Worker.i_Pid = 0;
    co_Worker.i_Document = -1;
}

void CT_ParallelBatch::v_Compose(std::size_t n_Started, et_ExitStatus& eo_Status) {
    CT_LogStream& co_log = co_Session.co_GetLog();
    co_log.v_PrintTime();
    co_log << co_log.cco_Eof();
    co_log.v_Separator();
    unsigned n_summary = CT_Batch::e_FinishedSummary;
    bool b_canceled = co_Session.b_IsCanceled();
    bool b_failed = false;
    std::string s_tails;
    for (std::size_t n = 0; n < n_Started; ++n) {
        const CT_Document& co_worker = co_Documents[n];
        const CT_WorkerLog co_cut = co_Cut(s_ReadAll(co_worker.s_LogFile));
        co_log << CT_String(co_cut.s_Block.c_str());
        // The worker ended its summary line; the lines it wrote after it follow the summary.
        s_tails += co_cut.s_Tail.empty() ? "" : co_cut.s_Tail.substr(1);
        b_canceled = b_canceled || co_cut.n_Summary == CT_Batch::e_CanceledSummary ||
                     co_worker.i_Status == e_ExitCanceled;
        b_failed = b_failed || co_cut.n_Summary == CT_Batch::e_WithErrorsSummary ||
                   co_worker.i_Status != e_ExitOk;
        if (co_cut.n_Summary == CT_Batch::e_WithErrorsSummary) {
            n_summary = CT_Batch::e_WithErrorsSummary;
        }
    }
    n_summary = b_canceled ? CT_Batch::e_CanceledSummary : n_summary;
    co_log << co_log.cco_Eof() << CT_String(s_Message(n_summary).c_str());
    if (!s_tails.empty()) {
        co_log << co_log.cco_Eof() << CT_String(s_tails.c_str());
    }
    eo_Status = b_canceled ? e_ExitCanceled : b_failed ? e_ExitError : e_ExitOk;
}
