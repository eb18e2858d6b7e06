// The per-document action of a batch: opens a document named by path, runs the batch's
// operation on it with the tagged file that belongs to it, and closes it. Concrete actions,
// made by the caller, choose the operation and whether the document is saved.
//
// Ownership: the action owns its document from a successful b_Open to v_Close. Destroying an
// action does not free a document it still holds: a caller that abandons a batch after an
// error calls v_Close (or lets the batch run on) to close and free it.
#pragma once

#include "document/ct_document.h"
#include "platform/common/ct_string.h"
#include "settings/ct_process_data.h"

class CT_BatchAction {
  public:
    CT_BatchAction() = default;
    virtual ~CT_BatchAction() = default;
    CT_BatchAction(const CT_BatchAction&) = delete;
    CT_BatchAction& operator=(const CT_BatchAction&) = delete;

    // Runs the operation on the open document (pco_Document) with the tagged file. Nonzero
    // when cancelled or stopped before its end, 0 otherwise.
    virtual int b_Execute(const CT_String& co_TaggedFile, CT_ProcessData& co_Data) = 0;
    // Whether the document is saved when it is closed.
    virtual int b_IsSaveNeeded() = 0;

    // Builds the document with the batch's story list settings and opens (or adopts) it.
    // 0 when the host fails to open it: no document is held and the error stays recorded.
    int b_Open(const CT_String& co_DocumentPath);
    // Checks the story order and runs b_Execute. With no document, or a document without text
    // boxes, the cancel flag is the result and nothing runs.
    int b_Process(CT_ProcessData& co_Data);
    // Closes the document (saved when b_IsSaveNeeded says so and no cancel is set) and frees
    // it. The document is freed even when closing raises, so a close is never tried twice.
    void v_Close();

  protected:
    CT_Document* pco_Document = nullptr;
};
