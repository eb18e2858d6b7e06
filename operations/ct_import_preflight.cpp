#include "operations/ct_import_preflight.h"

#include <unordered_map>
#include <unordered_set>

#include "map/ct_order_walk.h"
#include "operations/ct_tagged_file.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_shown.h"
#include "storyorder/ct_story_order.h"
#include "textbox/ct_text_box.h"

CT_ImportPreflight::CT_ImportPreflight(const CT_TaggedFile& co_File, CT_StoryOrder& co_Order) {
    // The document's keys in a set: a file of many stories is compared in linear time.
    std::unordered_set<std::string> co_keys;
    v_ForEachBox(co_Order,
                 [&](CT_TextBox& co_Box, unsigned) { co_keys.emplace(co_Box.cco_GetKey().sv()); });
    std::unordered_map<std::string, std::size_t> co_first;  // key, offset of its first tag
    for (const CT_TaggedFile::CT_Story& co_story : co_File.co_GetStories()) {
        if (co_keys.count(co_story.s_Key) == 0) {
            CT_Errors::v_ThrowError(
                e_UnknownKey,
                CT_String(
                    co_File
                        .s_Message(co_story.n_Tag, "the document has no story with the key \"" +
                                                       CT_Shown::ss_Value(co_story.s_Key) + "\"")
                        .c_str()));
        }
        const auto [it_first, b_new] = co_first.emplace(co_story.s_Key, co_story.n_Tag);
        if (!b_new) {
            co_Warnings.push_back(
                "Warning: " +
                co_File.s_Message(
                    co_story.n_Tag,
                    "the key \"" + co_story.s_Key + "\" stands in the file a second time" +
                        (co_File.b_HasPlaces()
                             ? " (first on line " +
                                   std::to_string(co_File.n_GetLine(it_first->second)) + ")"
                             : std::string()) +
                        "; the later story would replace the earlier one"));
        }
    }
    v_ForEachBox(co_Order, [&](CT_TextBox& co_Box, unsigned n_Index) {
        const std::string s_key(co_Box.cco_GetKey().sv());
        if (co_first.count(s_key) == 0) {
            co_Box.v_SetListLabel(n_Index);
            co_Warnings.push_back("Warning: " + co_File.s_GetPath() +
                                  " has no story for the key \"" + s_key + "\" (" +
                                  std::string(co_Box.cco_GetListLabel().sv()) + ")");
        }
    });
}
