// "storyport batch export|import --folder DIR DOC|FOLDER...": the kernel's batch runner over
// the documents, in the order given (see CT_BatchDocuments for folders and lists), with the
// tagged file of each document in the folder (DIR/NAME.stt, DIR/SUBFOLDER/NAME.stt for one
// found in a subfolder). A batch import works on working copies (CT_WorkCopy) and puts in place
// only the documents whose own import went through; the others are left as they were. With more
// than one job the documents go to worker processes (CT_ParallelBatch); with b_Worker the command
// is such a worker: it reads documents from its standard input and answers on descriptor 3, see
// seo_RunWorker.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "operations/ct_exit_status.h"

class CT_BatchFolder;
class CT_ProcessData;
class CT_Session;

class CT_BatchOperation {
  public:
    // 0 when every document was done, 130 after Ctrl-C, 1 when a document failed, 2 when no
    // folder is given by option or settings.
    static et_ExitStatus seo_Run(CT_Session& co_Session);

    // A worker's job, four fields on its standard input, each ended by a NUL (a path may hold
    // any other byte): "A" or "F" (a document before it was done in the batch, or none yet),
    // the log file, the document, and the subfolder of the batch folder its file belongs in
    // (empty for none). Its answer, one line
    // on descriptor 3 once the document's batch of one has ended, its log in the file: the
    // exit status, whether the document was done (1 or 0) and whether the runner raised an
    // error (1 or 0), separated by tabs. The worker ends when its input does.
    using CT_RunOne =
        std::function<et_ExitStatus(const std::string&, const std::string&, bool, bool&)>;
    static et_ExitStatus seo_RunWorker(CT_Session& co_Session, const CT_RunOne& f_RunOne);

  private:
    static et_ExitStatus seo_RunDocuments(CT_Session& co_Session,
                                          const std::vector<std::string>& co_Documents,
                                          const std::string& s_folder, CT_BatchFolder& co_folder,
                                          CT_ProcessData& co_data, bool b_xliff, bool b_AfterDone,
                                          bool& b_Raised);
};
