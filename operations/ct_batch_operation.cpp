#include "operations/ct_batch_operation.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <unordered_set>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <iostream>
#include <map>

#include "batch/ct_batch.h"
#include "containers/ct_linked_list.h"
#include "operations/ct_batch_documents.h"
#include "operations/ct_batch_folder.h"
#include "operations/ct_export_batch_action.h"
#include "operations/ct_export_target.h"
#include "operations/ct_import_batch_action.h"
#include "operations/ct_operation_outcome.h"
#include "operations/ct_parallel_batch.h"
#include "operations/ct_session.h"
#include "operations/ct_work_copy.h"
#include "operations/ct_xliff_export.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_res_string.h"
#include "platform/host/ct_progress_listener.h"
#include "resources/ct_library.h"
#include "settings/ct_process_data.h"
#include "settings/ct_settings.h"
#include "settings/ct_story_format_settings.h"

namespace fs = std::filesystem;

namespace {
using CT_WorkCopies = std::vector<std::unique_ptr<CT_WorkCopy>>;
// Tagged files that --force replaces, each with the backup kept of it.
using CT_Backups = std::vector<std::pair<std::string, std::string>>;

std::string s_Folder(CT_Session& co_Session, bool b_Export) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    if (!co_options.s_Folder.empty()) {
        return co_options.s_Folder;
    }
    CT_PathSettings& co_paths =
        co_Session.co_LoadSettings().co_GetProcessSettings().co_GetPathSettings();
    return std::string(
        (b_Export ? co_paths.co_GetBatchExportPath() : co_paths.co_GetBatchImportPath()).sv());
}

void v_PrepareFolder(const std::string& s_Folder, bool b_Export) {
    std::error_code co_error;
    if (b_Export) {
        fs::create_directories(s_Folder, co_error);
    }
    if (co_error || !fs::is_directory(s_Folder, co_error)) {
        const std::string s_why = co_error ? co_error.message() : "no such folder";
        CT_Errors::v_ThrowError(
            e_FileOpen,
            CT_String(("cannot use the folder \"" + s_Folder + "\": " + s_why).c_str()));
    }
}

// Documents of the same name in different folders would write one file, the later export
// putting its stories in place of the earlier one's: the batch is refused before anything is
// written, naming every such pair. False when refused.
bool b_TaggedFilesApart(CT_Session& co_Session, const CT_BatchFolder& co_Folder,
                        const std::vector<std::string>& co_Documents) {
    std::map<std::string, std::string> co_writers;
    bool b_apart = true;
    for (const std::string& s_document : co_Documents) {
        const std::string s_file = co_Folder.s_TaggedFileOf(s_document);
        const auto co_found = co_writers.emplace(s_file, s_document);
        if (!co_found.second) {
            co_Session.v_LogError(CT_String((co_found.first->second + " and " + s_document +
                                             " would both be exported to " + s_file +
                                             ": nothing was exported (export them to different "
                                             "folders, or one at a time)")
                                                .c_str()));
            b_apart = false;
        }
    }
    return b_apart;
}

// The documents whose tagged file may be written: a document is left out when its tagged file
// is the document itself, holds a translation or is a file that an export did not write (see
// CT_ExportTarget). Why is kept in co_Refusals, and the backups that --force kept in co_Kept.
std::vector<std::string> co_Exportable(CT_Session& co_Session, const CT_BatchFolder& co_Folder,
                                       const std::vector<std::string>& co_Documents,
                                       std::vector<CT_String>& co_Refusals, CT_Backups& co_Kept,
                                       bool b_Backup) {
    std::vector<std::string> co_accepted;
    for (const std::string& s_document : co_Documents) {
        const std::string s_tagged = co_Folder.s_TaggedFileOf(s_document);
        try {
            const std::string s_backup =
                CT_ExportTarget::ss_Check(co_Session.co_GetHost(), s_document, s_tagged,
                                          co_Session.co_GetOptions().b_Force, b_Backup);
            if (!s_backup.empty()) {
                co_Kept.emplace_back(s_tagged, s_backup);
            }
            co_accepted.push_back(s_document);
        } catch (et_ErrorCode) {
            co_Refusals.push_back(CT_Errors::cco_GetLastError());
            CT_Errors::v_ResetError();
        }
    }
    return co_accepted;
}

// The refusals are told before the batch begins, as they are found, so that the batch's summary
// stays the last line the user reads.
std::vector<std::string> co_ExportableTold(CT_Session& co_Session, const CT_BatchFolder& co_Folder,
                                           const std::vector<std::string>& co_Documents,
                                           CT_Backups& co_Kept) {
    std::vector<CT_String> co_refusals;
    std::vector<std::string> co_accepted =
        co_Exportable(co_Session, co_Folder, co_Documents, co_refusals, co_Kept, true);
    for (const CT_String& co_refusal : co_refusals) {
        co_Session.v_LogError(co_refusal);
    }
    return co_accepted;
}

// After the batch, as an import names the documents it left: a backup of a file that an export
// did not replace after all (it failed or was cancelled) is dropped.
void v_TellBackups(CT_Session& co_Session, const CT_Backups& co_Kept) {
    for (const auto& co_kept : co_Kept) {
        if (CT_ExportTarget::sb_KeepsBackup(co_kept.first, co_kept.second)) {
            co_Session.v_LogLine("The file as it was is kept in " + co_kept.second + ".");
        }
    }
}

CT_WorkCopies co_MakeWorkCopies(CT_Session& co_Session,
                                const std::vector<std::string>& co_Documents) {
    CT_WorkCopies co_copies;
    for (const std::string& s_document : co_Documents) {
        co_copies.push_back(std::make_unique<CT_WorkCopy>(s_document));
        co_Session.co_GetSink().v_AddRewrite(co_copies.back()->s_GetFolder(),
                                             co_copies.back()->s_GetDocumentFolder());
    }
    return co_copies;
}

// A batch worker handles one document of a longer batch at a time. When a document before it
// was done, an error the runner would raise (nothing done yet in the worker's own batch) is
// what the whole batch clears: the document is closed and the batch ends as the runner ends it.
void v_EndAsAfterADoneDocument(CT_ProcessData& co_Data) {
    CT_Errors::v_ResetError();
    while (!sco_Batch.b_IsBatchComplete()) {
        try {
            sco_Batch();
        } catch (et_ErrorCode) {
            CT_Errors::v_ResetError();
        }
    }
    // A batch of one that got as far as processing its document reported no error of its own.
    CT_LogStream& co_log = co_Data.co_GetLog();
    co_log << co_log.cco_Eof()
           << CT_ResString(CT_Library::sp_GetModule(), CT_ProgressListener::sb_IsCancel()
                                                           ? CT_Batch::e_CanceledSummary
                                                           : CT_Batch::e_FinishedSummary)
                  .cco_Get();
}

// The runner handles its list from the back, so the paths go in back to front and come out
// in the order the user gave. b_AfterDone: the documents follow one that was done elsewhere.
// b_Raised tells whether the runner raised an error, which then goes on to the caller.
void v_RunBatch(CT_BatchAction& co_Action, const std::vector<std::string>& co_Paths,
                CT_ProcessData& co_Data, bool b_AfterDone, bool& b_Raised) {
    CT_LinkedList<CT_String> co_files;
    for (const std::string& s_path : co_Paths) {
        co_files.v_Add(new CT_String(s_path.c_str()));
    }
    co_files.v_GotoFirst();
    try {
        sco_Batch.v_InitBatch(co_Action, co_files);
        sco_Batch.v_BatchAll(co_Data);
    } catch (et_ErrorCode) {
        if (b_AfterDone) {
            v_EndAsAfterADoneDocument(co_Data);
            co_files.v_DestroyAll();
            return;
        }
        b_Raised = true;
        co_files.v_DestroyAll();
        co_Action.v_Close();
        throw;
    }
    co_files.v_DestroyAll();
}

// Workers pay off with several documents; documents that share a tagged file stay in one
// process, where the later one replaces the earlier as it does sequentially.
unsigned n_Workers(const CT_Session& co_Session, const CT_BatchFolder& co_Folder,
                   const std::vector<std::string>& co_Documents) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    if (co_Session.s_GetWorkerProgram().empty() || co_options.b_Worker) {
        return 1;
    }
    unsigned n_jobs = co_options.n_Jobs;
    if (n_jobs == 0) {
        n_jobs = std::max(1u, std::thread::hardware_concurrency());
    }
    n_jobs = std::min<std::size_t>(n_jobs, co_Documents.size());
    if (n_jobs <= 1) {
        return 1;
    }
    std::unordered_set<std::string> co_files;
    for (const std::string& s_document : co_Documents) {
        if (!co_files.insert(co_Folder.s_TaggedFileOf(s_document)).second) {
            return 1;
        }
    }
    return n_jobs;
}

// What the user named, folders searched and the list read, with each document's subfolder
// placed in the folder. False, after the error line, when nothing can run.
bool b_FindDocuments(CT_Session& co_Session, CT_BatchFolder& co_Folder,
                     std::vector<std::string>& co_Documents) {
    std::vector<CT_BatchDocuments::CT_Entry> co_found;
    try {
        co_found = CT_BatchDocuments::sco_Find(co_Session.co_GetOptions(), std::cin);
    } catch (et_ErrorCode) {
        co_Session.v_LogError(CT_Errors::cco_GetLastError());
        CT_Errors::v_ResetError();
        return false;
    }
    // Folders that give nothing are most likely a folder or a pattern mistyped; a list may
    // well be empty (the share of a larger batch that got nothing).
    if (co_found.empty() && co_Session.co_GetOptions().s_FilesFrom.empty()) {
        co_Session.v_LogError(
            CT_String("no document to run the batch on: the folders named hold none that the "
                      "patterns take"));
        return false;
    }
    co_Documents.reserve(co_found.size());
    for (const CT_BatchDocuments::CT_Entry& co_entry : co_found) {
        co_Documents.push_back(co_entry.s_Path);
        co_Folder.v_PlaceIn(co_entry.s_Path, co_entry.s_Subfolder);
    }
    return true;
}

// Puts the documents that were imported cleanly in place; returns how many were not.
unsigned n_CommitImports(CT_Session& co_Session, CT_ImportBatchAction& co_Action,
                         CT_WorkCopies& co_Copies) {
    if (co_Session.b_IsCanceled()) {
        co_Action.v_DropLast();
    }
    unsigned n_left = 0;
    for (const std::unique_ptr<CT_WorkCopy>& pco_copy : co_Copies) {
        if (!co_Action.b_WasClean(pco_copy->s_GetPath())) {
            co_Session.v_LogLine(pco_copy->s_GetDocument() + " was left as it was.");
            ++n_left;
            continue;
        }
        pco_copy->s_Commit(!co_Session.co_GetOptions().b_NoBackup);
    }
    return n_left;
}
}  // namespace

et_ExitStatus CT_BatchOperation::seo_Run(CT_Session& co_Session) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    const bool b_export = co_options.eo_Command == CT_CommandOptions::e_BatchExport;
    const std::string s_folder = s_Folder(co_Session, b_export);
    if (s_folder.empty()) {
        co_Session.v_LogError(
            CT_String((std::string("no folder for the tagged files: give --folder or set ") +
                       (b_export ? "EXPORT_FOLDER" : "IMPORT_FOLDER") + " in the settings")
                          .c_str()));
        return e_ExitUsage;
    }
    const CT_StoryListSettings& co_settings = co_Session.cco_GetStoryListSettings();
    // XLIFF files are named DIR/NAME.xlf; an export converts each document's stories.
    const bool b_xliff = co_options.s_Format == "xliff";
    if (b_xliff) {
        co_Session.co_GetHost().v_SetTaggedExtension(".xlf");
    }
    const CT_XliffExport co_format(co_Session, b_export && b_xliff ? ".xlf" : "");
    CT_ProcessData co_data(co_Session.co_GetLog(), co_format.cco_GetFormat(),
                           b_export ? "Batch export" : "Batch import");
    // The runner names the files "<folder>\<name>", as the log shows them too.
    CT_BatchFolder co_folder(s_folder);
    co_Session.co_GetSink().v_AddRewrite(co_folder.s_RunnerPrefix(), co_folder.s_OsPrefix());
    sco_Batch.v_SetBatch(co_folder.co_ForRunner(), co_settings);
    // A worker's documents come on its standard input, one at a time.
    std::vector<std::string> co_documents;
    if (!co_options.b_Worker && !b_FindDocuments(co_Session, co_folder, co_documents)) {
        return e_ExitError;
    }
    if (b_export && !co_options.b_Worker &&
        !b_TaggedFilesApart(co_Session, co_folder, co_documents)) {
        return e_ExitError;
    }
    const unsigned n_workers = n_Workers(co_Session, co_folder, co_documents);
    if (n_workers > 1) {
        CT_OperationOutcome co_checks(co_Session);
        co_checks.v_Run([&]() -> int {
            v_PrepareFolder(s_folder, b_export);
            return 0;
        });
        co_Session.co_GetSink().v_Finish();
        if (co_checks.eo_GetExitStatus() != e_ExitOk) {
            return co_checks.eo_GetExitStatus();
        }
        const unsigned n_errorsBefore = co_Session.co_GetSink().n_GetErrorLines();
        CT_Backups co_kept;
        const std::vector<std::string> co_running =
            b_export ? co_ExportableTold(co_Session, co_folder, co_documents, co_kept)
                     : co_documents;
        const et_ExitStatus eo_status =
            CT_ParallelBatch(co_Session, co_folder, s_folder, n_workers, co_running).eo_Run();
        v_TellBackups(co_Session, co_kept);
        const bool b_refused = co_Session.co_GetSink().n_GetErrorLines() != n_errorsBefore;
        return eo_status == e_ExitOk && b_refused ? e_ExitError : eo_status;
    }
    if (co_options.b_Worker) {
        return seo_RunWorker(
            co_Session, [&](const std::string& s_Document, const std::string& s_Subfolder,
                            bool b_AfterDone, bool& b_Raised) {
                co_folder.v_PlaceIn(s_Document, s_Subfolder);
                return seo_RunDocuments(co_Session, {s_Document}, s_folder, co_folder, co_data,
                                        b_xliff, b_AfterDone, b_Raised);
            });
    }
    bool b_raised = false;
    return seo_RunDocuments(co_Session, co_documents, s_folder, co_folder, co_data, b_xliff, false,
                            b_raised);
}

et_ExitStatus CT_BatchOperation::seo_RunDocuments(CT_Session& co_Session,
                                                  const std::vector<std::string>& co_Documents,
                                                  const std::string& s_folder,
                                                  CT_BatchFolder& co_folder,
                                                  CT_ProcessData& co_data, bool b_xliff,
                                                  bool b_AfterDone, bool& b_Raised) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    const bool b_export = co_options.eo_Command == CT_CommandOptions::e_BatchExport;
    const CT_StoryListSettings& co_settings = co_Session.cco_GetStoryListSettings();
    CT_OperationOutcome co_outcome(co_Session);
    CT_ExportBatchAction co_exportAction(co_folder);
    CT_ImportBatchAction co_importAction(co_Session, co_folder);
    if (b_xliff) {
        co_importAction.v_SetXliff();
    }
    CT_WorkCopies co_copies;
    CT_Backups co_kept;
    co_outcome.v_Run([&]() -> int {
        v_PrepareFolder(s_folder, b_export);
        sco_Batch.v_SetBatch(co_folder.co_ForRunner(), co_settings);
        if (b_export) {
            if (!co_options.b_Worker) {
                v_RunBatch(co_exportAction,
                           co_ExportableTold(co_Session, co_folder, co_Documents, co_kept), co_data,
                           b_AfterDone, b_Raised);
                return 0;
            }
            // A worker's document passed the check before it was sent, and what --force
            // replaces was kept then; should its tagged file have appeared since, the refusal
            // follows the worker's summary, which is where the log of a batch of one may hold
            // lines of its own.
            std::vector<CT_String> co_refusals;
            v_RunBatch(
                co_exportAction,
                co_Exportable(co_Session, co_folder, co_Documents, co_refusals, co_kept, false),
                co_data, b_AfterDone, b_Raised);
            co_Session.co_GetSink().v_Finish();
            for (const CT_String& co_refusal : co_refusals) {
                co_Session.v_LogError(co_refusal);
            }
            return 0;
        }
        co_copies = co_MakeWorkCopies(co_Session, co_Documents);
        std::vector<std::string> co_paths;
        for (const auto& pco_copy : co_copies) {
            co_paths.push_back(pco_copy->s_GetPath());
            co_folder.v_PlaceIn(pco_copy->s_GetPath(),
                                co_folder.s_SubfolderOf(pco_copy->s_GetDocument()));
            co_Session.v_ListStoriesOfFile(pco_copy->s_GetPath(),
                                           co_folder.s_TaggedFileOf(pco_copy->s_GetDocument()));
        }
        v_RunBatch(co_importAction, co_paths, co_data, b_AfterDone, b_Raised);
        return 0;
    });
    co_Session.co_GetSink().v_Finish();
    v_TellBackups(co_Session, co_kept);
    const unsigned n_done = sco_Batch.n_GetFileDone();
    unsigned n_left = 0;
    if (!b_export && !co_copies.empty()) {
        n_left = n_CommitImports(co_Session, co_importAction, co_copies);
    }
    const et_ExitStatus eo_status = co_outcome.eo_GetExitStatus();
    if (eo_status != e_ExitOk) {
        return eo_status;
    }
    return n_done < co_Documents.size() || n_left > 0 ? e_ExitError : e_ExitOk;
}

et_ExitStatus CT_BatchOperation::seo_RunWorker(CT_Session& co_Session, const CT_RunOne& f_RunOne) {
    // A job is four fields, each ending with a NUL: whether a document was done before, the
    // log file, the document and its subfolder of the batch folder.
    std::string s_job;
    std::string s_log;
    std::string s_document;
    std::string s_subfolder;
    while (std::getline(std::cin, s_job, '\0') && std::getline(std::cin, s_log, '\0') &&
           std::getline(std::cin, s_document, '\0') && std::getline(std::cin, s_subfolder, '\0') &&
           !s_job.empty()) {
        // The log goes where the session writes it: standard error, now the document's file.
        std::cerr.flush();
        const int i_log = ::open(s_log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (i_log < 0 || ::dup2(i_log, STDERR_FILENO) < 0) {
            return e_ExitError;
        }
        ::close(i_log);
        bool b_raised = false;
        et_ExitStatus eo_status = e_ExitError;
        try {
            eo_status = f_RunOne(s_document, s_subfolder, s_job[0] == 'A', b_raised);
        } catch (et_ErrorCode) {
            co_Session.v_LogError(CT_Errors::cco_GetLastError());
            CT_Errors::v_ResetError();
        }
        co_Session.co_GetSink().v_Finish();
        std::cerr.flush();
        const std::string s_answer = std::to_string(static_cast<int>(eo_status)) + "\t" +
                                     (sco_Batch.n_GetFileDone() > 0 ? "1" : "0") + "\t" +
                                     (b_raised ? "1" : "0") + "\n";
        if (::write(3, s_answer.data(), s_answer.size()) != static_cast<ssize_t>(s_answer.size())) {
            return e_ExitError;
        }
    }
    return e_ExitOk;
}
