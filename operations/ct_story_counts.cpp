#include "operations/ct_story_counts.h"

#include "map/ct_order_walk.h"
#include "operations/ct_xliff_codes.h"
#include "platform/host/idml/ct_idml_host.h"
#include "storyorder/ct_story_order.h"
#include "textbox/ct_text_box.h"

CT_StoryCounts::CT_StoryCounts(const CT_IdmlHost& co_Host, CT_StoryOrder& co_Order,
                               const std::function<bool(const std::string&)>& b_GoesOut) {
    CT_DocumentCount co_count;
    std::string s_content;
    std::vector<CT_IdmlStoryCodeInfo> co_infos;
    v_ForEachBox(co_Order, [&](CT_TextBox& co_Box, unsigned) {
        const std::string s_key(co_Box.cco_GetKey().sv());
        // Units as the XLIFF file has them: what the codes stand for cuts the story.
        if (!co_Host.b_CountedContent(s_key, s_content, co_infos)) {
            return;
        }
        const CT_StoryLayout::CT_Codes co_codes = CT_XliffCodes::sco_From(co_infos);
        if (b_GoesOut && !b_GoesOut(s_key)) {
            co_ByKey[s_key] = CT_DocumentCount().co_AddStory(s_content, co_codes);
        } else {
            co_ByKey[s_key] = co_count.co_AddStory(s_content, co_codes);
        }
    });
    co_Total = co_count.co_GetTotal();
}

CT_StoryTally CT_StoryCounts::co_Get(const std::string& s_Key) const {
    const auto co_found = co_ByKey.find(s_Key);
    return co_found == co_ByKey.end() ? CT_StoryTally{} : co_found->second;
}
