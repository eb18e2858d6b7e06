// "storyport batch export|import --folder DIR DOC...": the kernel's batch runner over the
// documents, in the order given, with the tagged file of each document in the folder
// (DIR/NAME.stt). A batch import works on working copies (CT_WorkCopy) and puts in place only
// the documents whose own import went through; the others are left as they were.
#pragma once

#include "tools/ct_exit_status.h"

class CT_ToolSession;

class CT_BatchCommand {
  public:
    // 0 when every document was done, 130 after Ctrl-C, 1 when a document failed, 2 when no
    // folder is given by option or settings.
    static et_ExitStatus seo_Run(CT_ToolSession& co_Session);
};
