// One document of the host application: its opaque handle, the path of its file and its story
// order, with the export and import of all its stories and the entry points that do either for
// a document named by path.
//
// Ownership: a document owns its story order, the text boxes in it and the kept copy of the
// order, and gives its host handle back when destroyed. The settings record given to a
// constructor must outlive the document. Documents for the host's current document are kept,
// one per host document, in a private registry that owns them; a document made from a path
// belongs to whoever made it. Documents are never copied.
#pragma once

#include "containers/ct_ordered_linked_list.h"
#include "platform/common/ct_string.h"
#include "settings/ct_process_data.h"
#include "settings/ct_story_list_settings.h"

class CT_StoryOrder;

class CT_Document {
  public:
    enum et_CompareResult : int {
        e_MoreStoriesInFile = 1,
        e_MoreStoriesInDocument = 2,
        e_SameStoryCount = 3,
    };

    // A document the host already has open; the kernel never closes it.
    CT_Document(void* p_HostDocument, const CT_StoryListSettings& co_Settings);
    // A document for a file, not yet opened: call v_Open.
    CT_Document(const CT_String& co_Path, const CT_StoryListSettings& co_Settings);
    ~CT_Document();
    CT_Document(const CT_Document&) = delete;
    CT_Document& operator=(const CT_Document&) = delete;

    // Nonzero when the host says both handles designate the same document.
    int operator==(const CT_Document& co_Other) const;

    // Adopts the document when the host has it open, else opens it. A handle held from an
    // earlier open is given back first. Host errors pass to the caller; after a failed open
    // the document holds no handle.
    void v_Open(int i_Option);
    void v_Save();
    // Closes the document in the host, saving first when b_Save is nonzero, but only when
    // v_Open opened it; an adopted document stays open and untouched.
    void v_Close(int b_Save);

    // Nonzero when the story order holds no box; a new document is empty until checked.
    int b_IsEmpty();
    // The path the host reports now; it also replaces the stored path.
    CT_String co_GetFilePath();
    // The last component of co_GetFilePath, with its extension.
    CT_String co_GetFileName();

    // The story order, first brought up to date with the host's boxes when b_Check is nonzero.
    // The document keeps ownership.
    CT_StoryOrder* pco_GetStoryOrder(int b_Check);
    // Rebuilds the story order from the host's current boxes. Every box object is replaced, so a
    // copy kept by v_SaveStoryOrder must be restored or deleted before.
    void v_CheckStoryOrder();

    // Keeps a copy of the current sequence aside, replacing an earlier one.
    void v_SaveStoryOrder();
    // Brings the kept sequence back (and keeps it for a further restore).
    // REQUIRES: a copy kept by v_SaveStoryOrder, not deleted since.
    CT_StoryOrder* pco_RestaureStoryOrder();
    void v_DeleteStoryOrder();

    // Writes every story, in story order, into the tagged story file, with progress and log
    // lines. Nonzero when cancelled or stopped by a box; 0 when it ran to its end, also after
    // an error, which it logs and does not pass on. An existing file at the path keeps its
    // content unless the export completes.
    int b_Export(const CT_String& co_TaggedPath, CT_ProcessData& co_Data);
    // Saves the document, then puts each story of the tagged file into the box with its key.
    // Nonzero when cancelled (a document the kernel opened is then reopened from its saved
    // state) or when saving failed; 0 when it ran to its end, also after a logged error.
    int b_Import(const CT_String& co_TaggedPath, CT_ProcessData& co_Data);
    // Stories in the file against boxes in the story order as it stands.
    et_CompareResult eo_CompareTagFile(const CT_String& co_TaggedPath);
    // 0 when the file's name without folder and extension equals the document's.
    int b_CompareFileName(const CT_String& co_TaggedPath);

    // The document with the path is opened (or adopted), checked, exported or imported, and
    // closed again: without saving after an export, with saving after an import. Nonzero when
    // a cancel was pending or the operation was cancelled. A document without text boxes
    // raises e_NoTextBox with the path; host errors are raised after the document is closed.
    static int sb_Export(const CT_String& co_DocumentPath, const CT_String& co_TaggedPath,
                         const CT_StoryListSettings& co_Settings, CT_ProcessData& co_Data);
    static int sb_Import(const CT_String& co_DocumentPath, const CT_String& co_TaggedPath,
                         const CT_StoryListSettings& co_Settings, CT_ProcessData& co_Data);

    // The registry's document for the host's current document, made on the first request.
    // Later requests return the same object and ignore their settings record.
    static CT_Document* spco_GetCurrentDocument(const CT_StoryListSettings& co_Settings);
    // Takes the registry's document for the host's current document out and destroys it,
    // unless an import is restoring it. Called by the close listener.
    static void sv_CloseCurrentDocument();

  private:
    using CT_Operation = int (CT_Document::*)(const CT_String&, CT_ProcessData&);

    int b_ProcessExport(const CT_String& co_TaggedPath, CT_ProcessData& co_Data);
    static void sv_RequireConverter(const CT_String& co_TargetPath);
    int b_ConvertToQuarvelTaggedFormat(const CT_String& co_WorkPath,
                                       const CT_String& co_TargetPath);
    void v_SetProgressBar(unsigned n_CaptionId);
    // Message numbers of the outcome line of an export or an import.
    struct CT_OutcomeMessages {
        unsigned n_Canceled;
        unsigned n_OneStory;
        unsigned n_Stories;
    };
    // Runs the operation, logs the error it raises, then the outcome line and an empty line.
    // Static because an import whose restore cannot reopen the document destroys it meanwhile.
    static int sb_RunAndLog(CT_Document& co_Document, CT_Operation pf_Operation,
                            const CT_String& co_TaggedPath, CT_ProcessData& co_Data,
                            const CT_OutcomeMessages& co_Messages);

    int b_ProcessImport(const CT_String& co_TaggedPath, CT_ProcessData& co_Data);
    void v_FindTextBoxFromFile(CT_ProcessData& co_Data);
    void v_RestaureDocument();
    unsigned n_GetNumberOfStory(const CT_String& co_TaggedPath);

    static int sb_FilterOperation(const CT_String& co_DocumentPath, const CT_String& co_TaggedPath,
                                  const CT_StoryListSettings& co_Settings, CT_ProcessData& co_Data,
                                  CT_Operation pf_Operation, int b_Save);

    // Takes this object out of the registry, found by identity (its handle may be gone);
    // returns 0 when it was not there.
    int b_LeaveRegistry();

    CT_StoryOrder* pco_StoryOrder;
    CT_String co_FilePath;
    void* p_Document;
    int i_OpenOption = 0;
    CT_StoryOrder* pco_SavedStoryOrder = nullptr;
    bool b_Restoring = false;
    bool b_AlreadyOpen;

    static CT_OrderedLinkedList<CT_Document> sco_DocumentList;
};
