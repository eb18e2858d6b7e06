// "storyport export DOC TAGGED" and "storyport import DOC TAGGED": one document by path.
//
// Export goes through the kernel's entry point by path, or, when an order file arranges the
// stories, through the current document, whose custom order the entry point would not keep.
// Import runs on a working copy (CT_WorkCopy): the document is replaced, after a backup, only
// when the import ends without an error and without a cancel.
#pragma once

#include "tools/ct_exit_status.h"

class CT_ToolSession;

class CT_TransferCommand {
  public:
    static et_ExitStatus seo_RunExport(CT_ToolSession& co_Session);
    static et_ExitStatus seo_RunImport(CT_ToolSession& co_Session);
};
