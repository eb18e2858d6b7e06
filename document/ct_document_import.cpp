#include "document/ct_document.h"

#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "platform/common/ct_res_string.h"
#include "platform/host/ct_basic_interface.h"
#include "platform/host/ct_box_interface.h"
#include "platform/host/ct_document_interface.h"
#include "platform/host/ct_progress_listener.h"
#include "resources/ct_library.h"
#include "storyorder/ct_story_order.h"
#include "textbox/ct_story_tags.h"
#include "textbox/ct_text_box.h"

namespace {
enum : unsigned {
    kn_ImportCaption = 51,
    kn_ImportStart = 110,
    kn_OneStoryImported = 111,
    kn_StoriesImported = 112,
    kn_ImportCanceled = 113,
    kn_MissingStories = 150,
    kn_ExtraStories = 151,
};

CT_ResString co_Message(unsigned n_Id) {
    return CT_ResString(CT_Library::sp_GetModule(), n_Id, "%");
}

// The file name without folder and extension.
CT_String co_BareName(const CT_String& co_Path) {
    CT_String co_name = CT_Files::sco_GetFileName(co_Path);
    CT_Files::sv_RemoveExtension(co_name);
    return co_name;
}
}  // namespace

int CT_Document::b_Import(const CT_String& co_TaggedPath, CT_ProcessData& co_Data) {
    CT_LogStream& co_log = co_Data.co_GetLog();
    v_SetProgressBar(kn_ImportCaption);
    co_log << co_Message(kn_ImportStart).cco_Get(co_GetFileName()) << co_log.cco_Eof();

    return sb_RunAndLog(*this, &CT_Document::b_ProcessImport, co_TaggedPath, co_Data,
                        {kn_ImportCanceled, kn_OneStoryImported, kn_StoriesImported});
}

int CT_Document::b_ProcessImport(const CT_String& co_TaggedPath, CT_ProcessData& co_Data) {
    CT_Files co_file;
    CT_TextBox::CT_FileInUse co_fileInUse(co_file);
    try {
        CT_DocumentInterface::v_Save(p_Document);
    } catch (et_ErrorCode) {
        // Without a saved state a cancel could not be undone: give up as if cancelled.
        return 1;
    }
    co_file.v_Open(co_TaggedPath, e_OpenRead, 0);
    CT_DocumentInterface::v_PrepareForImport();
    try {
        co_file.v_MoveUntil(CT_BasicInterface::co_GetOpenVersionTag());
        v_FindTextBoxFromFile(co_Data);
    } catch (et_ErrorCode) {
        co_file.v_Close();
        CT_Errors::v_ThrowAgain();
    }
    co_file.v_Close();

    if (CT_ProgressListener::sb_IsCancel()) {
        v_RestaureDocument();
        return 1;
    }
    CT_DocumentInterface::v_CloseImport();
    return 0;
}

void CT_Document::v_FindTextBoxFromFile(CT_ProcessData& co_Data) {
    CT_LogStream& co_log = co_Data.co_GetLog();
    CT_String co_boxkey;
    unsigned n_imported = 0;
    const unsigned n_total = pco_StoryOrder->n_Count();
    for (;;) {
        const int b_read = CT_TextBox::b_GetNextBoxKey(co_boxkey);
        if (b_read) {
            if (!pco_StoryOrder->b_Find(co_boxkey)) {
                CT_Errors::v_ThrowError(e_UnknownKey, co_boxkey);
            }
            pco_StoryOrder->pco_GetCurrent()->b_Import();
            ++n_imported;
        }
        if (n_imported >= n_total || CT_ProgressListener::sb_IsCancel() || !b_read) {
            break;
        }
    }

    if (n_imported < n_total) {
        co_log << co_Message(kn_MissingStories).cco_Get() << co_log.cco_Eof();
    } else if (CT_TextBox::b_GetNextBoxKey(co_boxkey)) {
        co_log << co_Message(kn_ExtraStories).cco_Get() << co_log.cco_Eof();
    }
}

void CT_Document::v_RestaureDocument() {
    const CT_String co_documentpath = co_GetFilePath();
    // The close notification this causes must leave a registry document in place.
    b_Restoring = true;
    try {
        v_Close(0);
    } catch (et_ErrorCode) {
        b_Restoring = false;
        CT_Errors::v_ThrowAgain();
    }
    b_Restoring = false;
    co_FilePath = co_documentpath;

    try {
        v_Open(i_OpenOption);
    } catch (et_ErrorCode) {
        // A registry document that cannot be reopened is dropped. A document made from a path
        // is not ours to destroy: it stays valid, holding no handle, for its owner to delete.
        if (b_LeaveRegistry()) {
            delete this;
        }
        CT_Errors::v_ThrowAgain();
    }
}

unsigned CT_Document::n_GetNumberOfStory(const CT_String& co_TaggedPath) {
    CT_Files co_file;
    co_file.v_Open(co_TaggedPath, e_OpenRead, 0);
    unsigned n_count = 0;
    try {
        for (;;) {
            co_file.v_MoveUntil(CT_StoryTags::sco_EndTag);
            ++n_count;
        }
    } catch (et_ErrorCode eo_errorCode) {
        if (eo_errorCode != e_EndOfFile) {
            CT_Errors::v_ThrowAgain();
        }
    }
    return n_count;
}

CT_Document::et_CompareResult CT_Document::eo_CompareTagFile(const CT_String& co_TaggedPath) {
    const unsigned n_stories = n_GetNumberOfStory(co_TaggedPath);
    const unsigned n_boxes = pco_StoryOrder->n_Count();
    if (n_boxes > n_stories) {
        return e_MoreStoriesInDocument;
    }
    if (n_boxes < n_stories) {
        return e_MoreStoriesInFile;
    }
    return e_SameStoryCount;
}

int CT_Document::b_CompareFileName(const CT_String& co_TaggedPath) {
    const CT_String co_documentPath =
        co_BareName(CT_DocumentInterface::co_GetDocumentPath(p_Document));
    const CT_String co_chooseName = co_BareName(co_TaggedPath);
    return !(co_documentPath == co_chooseName);
}
