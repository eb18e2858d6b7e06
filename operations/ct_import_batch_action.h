// The batch action of "storyport batch import": each document (a working copy, see
// CT_WorkCopy) takes the stories of its tagged file and is saved when closed. The tagged file
// passes the command's import gate first (CT_ImportGate), so a missing or broken file, or one
// that does not match its document, is reported for that document and the batch goes on. The
// action remembers which documents went through without an error line, so that only those are
// put in place of the user's documents once the batch is over. The session and the batch's
// folder must outlive it.
#pragma once

#include <string>
#include <vector>

#include "batch/ct_batch_action.h"
#include "operations/ct_batch_folder.h"

class CT_Session;

class CT_ImportBatchAction : public CT_BatchAction {
  public:
    // The session's log tells whether an error was logged during a document's import.
    CT_ImportBatchAction(CT_Session& co_Session, const CT_BatchFolder& co_Folder);
    // The documents' files are XLIFF files, each read into a tagged story file first.
    void v_SetXliff() { b_Xliff = true; }

    int b_Execute(const CT_String& co_TaggedFile, CT_ProcessData& co_Data) override;
    // Not for a document whose import is not put in place.
    int b_IsSaveNeeded() override;

    // Whether the document at the path (as the host names it) was imported to its end without
    // an error and without a cancel.
    bool b_WasClean(const std::string& s_DocumentPath) const;
    // After a cancel: the document handled last may have been closed without saving, so it
    // no longer counts as clean.
    void v_DropLast();

  private:
    int b_Import(const CT_String& co_TaggedFile, CT_ProcessData& co_Data);
    // Saves the document; false, after an error line naming it, when the host refuses.
    bool b_Save(const std::string& s_Path);

    CT_Session& co_Session;
    const CT_BatchFolder& co_Folder;
    bool b_Xliff = false;
    std::vector<std::string> co_Handled;  // canonical paths, in the order handled
    std::vector<bool> co_Clean;
};
