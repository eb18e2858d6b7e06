// What "import" does with one document by path: the translation (tagged or XLIFF) goes into a
// working copy (CT_WorkCopy) after the gate (CT_ImportGate); the document is replaced, after a
// backup, only when the import ends without an error and without a cancel, and is otherwise left
// exactly as it was. Stateless.
#pragma once

#include "operations/ct_exit_status.h"

class CT_Session;

class CT_ImportOperation {
  public:
    // 0 imported, 3 refused by the gate (nothing changed), 1 an error, 130 cancelled.
    static et_ExitStatus seo_Run(CT_Session& co_Session);
};
