// Runs a batch over several documents in n_Jobs worker processes, each the session's worker
// program (the storyport command) started with --worker, batching one document at a time (its
// own kernel, single-threaded as ever).
// The log reads as the sequential batch's: one time line and separator, each document's block
// of lines in the order the documents were given, one summary line, then the lines each worker
// wrote after its summary (documents left as they were). The session's checks that concern the
// whole batch (the folder, shared tagged files) run here first; a document whose tagged file
// is missing is reported by its own worker.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "operations/ct_exit_status.h"

class CT_BatchFolder;
class CT_Session;

class CT_ParallelBatch {
  public:
    // co_Paths: the documents to run, in the user's order (those the command did not refuse).
    // co_BatchFolder, which must outlive the batch, tells each document's subfolder.
    CT_ParallelBatch(CT_Session& co_Session, const CT_BatchFolder& co_BatchFolder,
                     std::string s_Folder, unsigned n_Jobs, std::vector<std::string> co_Paths);

    et_ExitStatus eo_Run();

  private:
    // A worker process takes one document after another (CT_BatchOperation::seo_RunWorker), so
    // that each core pays for starting the command once, not once per document.
    struct CT_Worker {
        int i_Pid = 0;
        int i_Jobs = -1;     // its standard input
        int i_Answers = -1;  // its descriptor 3
        std::string s_Answer;
        long i_Document = -1;  // the document it works on, or -1
    };
    struct CT_Document {
        std::string s_LogFile;
        int i_Status = -1;  // the exit status of its batch of one, once it ended
        bool b_Done = false;
        bool b_Raised = false;
        bool b_AfterDone = false;
    };

    std::vector<std::string> co_Arguments() const;
    bool b_Start(CT_Worker& co_Worker, std::size_t n_Number);
    void v_Send(CT_Worker& co_Worker, std::size_t n_Index);
    // Waits for the next answer of a busy worker; a worker that ended without one leaves its
    // document failed and is started again.
    void v_WaitAnswer(std::vector<CT_Worker>& co_Workers);
    void v_Answered(CT_Worker& co_Worker, const std::string& s_Answer);
    void v_Stop(CT_Worker& co_Worker);
    void v_Compose(std::size_t n_Started, et_ExitStatus& eo_Status);

    CT_Session& co_Session;
    const CT_BatchFolder& co_BatchFolder;
    const std::string s_Folder;
    const unsigned n_Jobs;
    const std::vector<std::string> co_Paths;
    std::string s_TempFolder;
    std::vector<CT_Document> co_Documents;
    std::size_t n_FirstDone = static_cast<std::size_t>(-1);
    bool b_Ended = false;  // the runner raised an error that ends the batch
    std::size_t n_Restarts = 0;
};
