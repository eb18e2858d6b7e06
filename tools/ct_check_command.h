// "storyport check DOC TAGGED": before an import, compares the tagged file with the document
// and says on standard output whether an import would be clean: the story counts, the file
// name, the keys of the file that no story of the document has, the stories the file lacks and
// keys the file holds twice. When all of that agrees, an import is tried on a throw-away copy of
// the document, which also finds stories whose codes the host would refuse. The document and
// the file are never changed.
#pragma once

#include "operations/ct_exit_status.h"

class CT_ToolSession;

class CT_CheckCommand {
  public:
    // 0 clean, 3 file and document differ, 1 an error (also a refused story in the trial).
    static et_ExitStatus seo_Run(CT_ToolSession& co_Session);
};
