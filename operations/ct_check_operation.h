// What "check" does before an import: compares the translation (tagged or XLIFF) with the
// document and says whether an import would be clean: the story counts, the file name, the keys
// of the file that no story of the document has, the stories the file lacks, keys the file holds
// twice and what the XLIFF reader found unit by unit. When all of that agrees, an import is tried
// on a throw-away copy of the document, which also finds stories whose codes the host would
// refuse. The document and the file are never changed. Stateless.
#pragma once

#include "storyport/operations.h"

class CT_CheckOperation {
  public:
    // Errors reading the document or the file pass to the caller as raised et_ErrorCode.
    static CT_CheckResult sco_Run(CT_Session& co_Session);
};
