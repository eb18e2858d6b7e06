#include "operations/ct_tagged_stories.h"

#include "operations/ct_tagged_keys.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "textbox/ct_story_tags.h"
#include "textbox/ct_text_box.h"

std::map<std::string, std::string> CT_TaggedStories::sco_Read(const std::string& s_Path) {
    CT_Files co_file;
    CT_TaggedKeys::sv_OpenAtFirstStory(co_file, s_Path);
    CT_TextBox::CT_FileInUse co_fileInUse(co_file);
    std::map<std::string, std::string> co_stories;
    CT_String co_key;
    while (CT_TextBox::b_GetNextBoxKey(co_key)) {
        std::string s_content;
        try {
            co_file.v_Read(s_content, co_file.n_CountUntil(CT_StoryTags::sco_EndTag));
        } catch (et_ErrorCode eo_code) {
            if (eo_code != e_EndOfFile) {
                throw;
            }
            CT_Errors::v_ThrowError(
                e_FileRead, CT_String(("\"" + s_Path + "\": the story " + std::string(co_key.sv()) +
                                       " has no end tag")
                                          .c_str()));
        }
        co_stories.emplace(std::string(co_key.sv()), std::move(s_content));
    }
    co_file.v_Close();
    return co_stories;
}
