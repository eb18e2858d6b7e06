// "storyport list DOC": the document's stories in story order, as text, JSON or bare keys, on
// standard output.
#pragma once

#include "operations/ct_exit_status.h"

class CT_ToolSession;

class CT_ListCommand {
  public:
    // Kernel and host errors pass to the caller.
    static et_ExitStatus seo_Run(CT_ToolSession& co_Session);
};
