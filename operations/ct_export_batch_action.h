// The batch action of "storyport batch export": each document is exported into its tagged file
// and closed without saving, as an export changes nothing.
#pragma once

#include "batch/ct_batch_action.h"

class CT_ExportBatchAction : public CT_BatchAction {
  public:
    int b_Execute(const CT_String& co_TaggedFile, CT_ProcessData& co_Data) override;
    int b_IsSaveNeeded() override { return 0; }
};
