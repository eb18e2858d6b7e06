#include "platform/host/idml/ct_idml_story_refusal.h"

#include "platform/common/ct_errors.h"

void CT_IdmlStoryRefusal::sv_Refuse(const CT_String& co_Key, const std::string& co_Reason) {
    CT_String co_text("story ");
    co_text += co_Key;
    co_text += ": ";
    co_text += co_Reason.c_str();
    CT_Errors::v_ThrowError(e_BadContent, co_text);
}
