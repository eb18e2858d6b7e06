#include "document/ct_document.h"

#include "document/ct_tagged_converter.h"

#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "platform/common/ct_res_string.h"
#include "platform/host/ct_basic_interface.h"
#include "platform/host/ct_box_interface.h"
#include "platform/host/ct_document_interface.h"
#include "platform/host/ct_progress_listener.h"
#include "resources/ct_library.h"
#include "storyorder/ct_story_order.h"
#include "textbox/ct_text_box.h"

namespace {
enum : unsigned {
    kn_ExportCaption = 50,
    kn_ExportStart = 100,
    kn_OneStoryExported = 101,
    kn_StoriesExported = 102,
    kn_ExportCanceled = 103,
    kn_Error = 120,
};

CT_ResString co_Message(unsigned n_Id) {
    return CT_ResString(CT_Library::sp_GetModule(), n_Id, "%");
}
}  // namespace

void CT_Document::v_SetProgressBar(unsigned n_CaptionId) {
    CT_String co_caption = co_Message(n_CaptionId).cco_Get(co_GetFileName());
    unsigned n_steps = pco_StoryOrder->n_Count();
    CT_ProgressListener* pco_progress = CT_ProgressListener::spco_GetProgressListener();
    if (pco_progress != nullptr) {
        pco_progress->v_StartProgress(co_caption, n_steps);
    }
}

int CT_Document::b_Export(const CT_String& co_TaggedPath, CT_ProcessData& co_Data) {
    CT_LogStream& co_log = co_Data.co_GetLog();
    v_SetProgressBar(kn_ExportCaption);
    co_log << co_Message(kn_ExportStart).cco_Get(co_GetFileName()) << co_log.cco_Eof();
    return sb_RunAndLog(*this, &CT_Document::b_ProcessExport, co_TaggedPath, co_Data,
                        {kn_ExportCanceled, kn_OneStoryExported, kn_StoriesExported});
}

int CT_Document::sb_RunAndLog(CT_Document& co_Document, CT_Operation pf_Operation,
                              const CT_String& co_TaggedPath, CT_ProcessData& co_Data,
                              const CT_OutcomeMessages& co_Messages) {
    CT_LogStream& co_log = co_Data.co_GetLog();
    int b_result = 0;
    try {
        b_result = (co_Document.*pf_Operation)(co_TaggedPath, co_Data);
    } catch (...) {
        co_log << co_Message(kn_Error).cco_Get(CT_Errors::cco_GetLastError()) << co_log.cco_Eof();
    }

    if (b_result) {
        co_log << co_Message(co_Messages.n_Canceled).cco_Get();
    } else {
        unsigned n_stories = CT_BoxInterface::sn_GetStoryCounter();
        co_log << (n_stories == 1 ? co_Message(co_Messages.n_OneStory).cco_Get()
                                  : co_Message(co_Messages.n_Stories).cco_Get(n_stories));
    }
    co_log << co_log.cco_Eof() << co_log.cco_Eof();
    return b_result;
}

int CT_Document::b_ProcessExport(const CT_String& co_TaggedPath, CT_ProcessData& co_Data) {
    CT_Files co_file;
    CT_DocumentInterface::v_PrepareForExport();
    CT_TextBox::CT_FileInUse co_fileInUse(co_file);
    const CT_StoryFormatSettings::et_TaggedTextFormat eo_format =
        co_Data.cco_GetStoryFormatSettings().eo_GetTaggedTextFormat();
    if (eo_format == CT_StoryFormatSettings::e_QuarvelTaggedText) {
        sv_RequireConverter(co_TaggedPath);
    }
    if (eo_format == CT_StoryFormatSettings::e_DtpTaggedText) {
        co_file.v_Open(co_TaggedPath, e_OpenWrite, 1);
    } else {
        co_file.v_Open();
    }
    co_file.v_Write(CT_BasicInterface::co_GetOpenVersionTag());

    int b_stopped = 0;
    try {
        b_stopped =
            CT_ProgressListener::sb_IsCancel() || !pco_StoryOrder->b_Map(&CT_TextBox::b_Export);
    } catch (et_ErrorCode) {
        // Whatever the boxes wrote is abandoned; the target keeps what it held.
        co_file.v_Cancel();
        CT_Errors::v_ThrowAgain();
    }

    co_file.v_Write(CT_BasicInterface::co_GetCloseVersionTag());
    if (CT_ProgressListener::sb_IsCancel() || b_stopped) {
        co_file.v_Cancel();
        b_stopped = 1;
    } else {
        co_file.v_Close();
    }
    try {
        CT_DocumentInterface::v_CloseExport();
    } catch (et_ErrorCode) {
        // The work file of a conversion is closed and kept by now: it must not outlive the
        // export. A failure to remove it would hide the error that matters.
        if (eo_format == CT_StoryFormatSettings::e_QuarvelTaggedText) {
            const et_ErrorCode eo_code = CT_Errors::set_GetLastError();
            const CT_String co_text = CT_Errors::cco_GetLastError();
            try {
                co_file.v_Delete();
            } catch (et_ErrorCode) {
            }
            CT_Errors::v_ThrowError(eo_code, co_text);
        }
        CT_Errors::v_ThrowAgain();
    }

    // A stopped export's intermediate file is already gone: nothing is converted.
    if (eo_format == CT_StoryFormatSettings::e_QuarvelTaggedText && !b_stopped) {
        const CT_String co_workPath = co_file.cco_GetFullPath();
        try {
            b_stopped = b_ConvertToQuarvelTaggedFormat(co_workPath, co_TaggedPath);
        } catch (et_ErrorCode) {
            co_file.v_Delete();
            CT_Errors::v_ThrowAgain();
        }
        co_file.v_Delete();
    }
    return b_stopped;
}

int CT_Document::b_ConvertToQuarvelTaggedFormat(const CT_String& co_WorkPath,
                                                const CT_String& co_TargetPath) {
    sv_RequireConverter(co_TargetPath);
    return CT_TaggedConverter::spco_Get()->b_Convert(co_WorkPath, co_TargetPath, co_GetFileName());
}

// Asked before anything is written, so that an export that cannot end in a file does not
// start, and never reports stories it did not write.
void CT_Document::sv_RequireConverter(const CT_String& co_TargetPath) {
    if (CT_TaggedConverter::spco_Get() == nullptr) {
        CT_Errors::v_ThrowError(e_NoConverter,
                                CT_String("no converter to the translation tool's format is "
                                          "installed; nothing was written to ") +
                                    co_TargetPath);
    }
}
