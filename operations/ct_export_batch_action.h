// The batch action of "storyport batch export": each document is exported into its tagged file
// and closed without saving, as an export changes nothing. The batch's folder must outlive it.
#pragma once

#include "batch/ct_batch_action.h"
#include "operations/ct_batch_folder.h"

class CT_ExportBatchAction : public CT_BatchAction {
  public:
    explicit CT_ExportBatchAction(const CT_BatchFolder& co_Folder) : co_Folder(co_Folder) {}
    int b_Execute(const CT_String& co_TaggedFile, CT_ProcessData& co_Data) override;
    int b_IsSaveNeeded() override { return 0; }

  private:
    const CT_BatchFolder& co_Folder;
};
