// What "import" does with one document by path: the translation (tagged or XLIFF) goes into a
// working copy (CT_WorkCopy) after the gate (CT_ImportGate); the document is replaced, after a
// backup, only when the import ends without an error and without a cancel, and is otherwise left
// exactly as it was. What it did is told from what it did itself and what the kernel exposes
// (its result, the host's count of the stories it took), never from the log. Stateless.
#pragma once

#include "storyport/operations.h"

class CT_Session;

class CT_ImportOperation {
  public:
    // Status 0 imported, 3 refused by the gate (nothing changed), 1 an error, 130 cancelled.
    static CT_ImportResult sco_Run(CT_Session& co_Session);
};
