// The story tags of one box: writing its story into the current tagged file and reading the
// next story back.
#include <cassert>
#include <string_view>

#include "platform/common/ct_error_code.h"
#include "platform/common/ct_errors.h"
#include "platform/host/ct_box_interface.h"
#include "platform/host/ct_progress_listener.h"
#include "textbox/ct_story_tags.h"
#include "textbox/ct_text_box.h"

CT_Files* CT_TextBox::spco_File = nullptr;

namespace {

void v_StepProgress() {
    CT_ProgressListener* pco_progress = CT_ProgressListener::spco_GetProgressListener();
    if (pco_progress != nullptr) {
        pco_progress->v_StepProgress();
    }
}

}  // namespace

void CT_TextBox::v_SetFile(CT_Files& co_File) {
    spco_File = &co_File;
}

int CT_TextBox::b_Export() {
    assert(spco_File != nullptr);
    v_StepProgress();
    v_WriteStartTag();
    const int b_cancelled = CT_ProgressListener::sb_IsCancel();
    int i_failed = 1;
    if (!b_cancelled) {
        i_failed = CT_BoxInterface::sb_Export(p_Box, *spco_File);
    }
    // Every start tag gets its end tag, also after a cancel or a failure.
    v_WriteEndTag();
    return !b_cancelled && i_failed == 0;
}

int CT_TextBox::b_Import() {
    assert(spco_File != nullptr);
    v_StepProgress();
    if (CT_ProgressListener::sb_IsCancel()) {
        return 1;
    }
    const unsigned n_count = spco_File->n_CountUntil(CT_StoryTags::sco_EndTag);
    return CT_BoxInterface::sb_Import(p_Box, *spco_File, n_count) != 0;
}

int CT_TextBox::b_GetNextBoxKey(CT_String& co_BoxKey) {
    assert(spco_File != nullptr);
    try {
        spco_File->v_MoveUntil(CT_StoryTags::sco_StoryStart);
    } catch (et_ErrorCode eo_errorCode) {
        if (eo_errorCode == e_EndOfFile) {
            return 0;
        }
        CT_Errors::v_ThrowAgain();
    }
    spco_File->v_ReadUntil(co_BoxKey, CT_StoryTags::sco_KeyEnd);
    // The location attribute informs the reader of the file only; it is skipped unread.
    spco_File->v_MoveUntil(CT_StoryTags::sco_StartTagEnd);
    return 1;
}

void CT_TextBox::v_WriteStartTag() {
    // A key or a spread name may itself hold "@" or "%": each marker is looked for in the
    // template's own text only, never in what was put in for the other one.
    const std::string_view co_template = CT_StoryTags::sco_StartTagTemplate.sv();
    const std::size_t n_split = co_template.find(CT_StoryTags::spc_LocationMarker);
    CT_String co_tag(co_template.substr(0, n_split));
    co_tag.v_Replace(CT_StoryTags::spc_KeyMarker, co_Key);
    CT_String co_rest(co_template.substr(n_split));
    CT_String co_location = v_GetLocationName();
    co_rest.v_Replace(CT_StoryTags::spc_LocationMarker, co_location);
    spco_File->v_Write(co_tag + co_rest);
}

void CT_TextBox::v_WriteEndTag() {
    spco_File->v_Writeln(CT_StoryTags::sco_EndTag);
    spco_File->v_Writeln(CT_String());
    spco_File->v_Writeln(CT_String());
}

CT_String CT_TextBox::v_GetLocationName() {
    if (b_IsOnMasterPage()) {
        return CT_StoryTags::sco_MasterPage + CT_BoxInterface::sco_GetSpreadName(p_Box) +
               CT_BoxInterface::sn_GetPage(p_Box);
    }
    if (b_IsOnPage()) {
        return CT_StoryTags::sco_DocumentPage + CT_BoxInterface::sn_GetPage(p_Box);
    }
    return CT_StoryTags::sco_PasteBoard;
}
