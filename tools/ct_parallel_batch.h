// Runs a batch over several documents in worker processes, each the storyport command itself
// batching one document (its own kernel, single-threaded as ever), at most n_Jobs at a time.
// The log reads as the sequential batch's: one time line and separator, each document's block
// of lines in the order the documents were given, one summary line, then the lines each worker
// wrote after its summary (documents left as they were). The session's checks that concern the
// whole batch (the folder, shared tagged files) run here first; a document whose tagged file
// is missing is reported by its own worker.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/ct_exit_status.h"

class CT_ToolSession;

class CT_ParallelBatch {
  public:
    CT_ParallelBatch(CT_ToolSession& co_Session, std::string s_Folder, unsigned n_Jobs);

    et_ExitStatus eo_Run();

  private:
    struct CT_Worker {
        int i_Pid = 0;
        std::string s_LogFile;
        int i_Status = -1;  // the exit status, once it ended
    };

    std::vector<std::string> co_Arguments(const std::string& s_Document) const;
    void v_Start(CT_Worker& co_Worker, const std::string& s_Document, std::size_t n_Index);
    void v_WaitOne(std::vector<CT_Worker>& co_Workers);
    void v_Compose(const std::vector<CT_Worker>& co_Workers, et_ExitStatus& eo_Status);

    CT_ToolSession& co_Session;
    const std::string s_Folder;
    const unsigned n_Jobs;
    std::string s_TempFolder;
};
