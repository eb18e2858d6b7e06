// "storyport import DOC TAGGED": one document by path. Import runs on a working copy (CT_WorkCopy):
// the document is replaced, after a backup, only when the import ends without an error and without
// a cancel.
#pragma once

#include "operations/ct_exit_status.h"

class CT_ToolSession;

class CT_TransferCommand {
  public:
    static et_ExitStatus seo_RunImport(CT_ToolSession& co_Session);
};
