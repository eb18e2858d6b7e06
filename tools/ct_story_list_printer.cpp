#include "tools/ct_story_list_printer.h"

#include <cstdio>
#include <utility>

#include "operations/ct_json_string.h"
#include "operations/ct_order_walk.h"
#include "operations/ct_story_counts.h"
#include "platform/common/ct_utf8.h"
#include "platform/host/idml/ct_idml_host.h"
#include "storyorder/ct_story_order.h"
#include "textbox/ct_page.h"
#include "textbox/ct_text_box.h"

namespace {
// One story of the list, with the texts the kernel gives it.
struct CT_Entry {
    CT_TextBox* pco_Box;
    unsigned n_Number;
    std::string s_Label;
    std::string s_Preview;
    std::string s_Layer;
    std::string s_LeftOut;
};

template <class F>
void v_ForEachStory(CT_StoryOrder& co_Order, const CT_IdmlHost& co_Host, F f_Visit) {
    v_ForEachBox(co_Order, [&](CT_TextBox& co_Box, unsigned n_Index) {
        co_Box.v_SetListLabel(n_Index);
        CT_String co_preview;
        co_Box.v_GetText(co_preview, 1);
        const CT_IdmlBox* pco_listed =
            co_Host.pco_FindListed(std::string(co_Box.cco_GetKey().sv()));
        f_Visit(CT_Entry{&co_Box, n_Index + 1, std::string(co_Box.cco_GetListLabel().sv()),
                         std::string(co_preview.sv()),
                         pco_listed != nullptr ? pco_listed->s_Layer : std::string(),
                         pco_listed != nullptr ? pco_listed->s_LeftOut : std::string()});
    });
}

std::string s_GroupLabel(int i_Page) {
    CT_Page co_page(i_Page);
    co_page.v_SetListLabel(0);
    return std::string(co_page.cco_GetListLabel().sv());
}

// Characters counted the way a terminal shows them: one column per code point.
std::size_t n_Columns(const std::string& s_Text) {
    return CT_Utf8::sn_Columns(s_Text);
}

// "1,234": the counts a translator quotes from.
std::string s_Grouped(std::size_t n_Value) {
    std::string s_digits = std::to_string(n_Value);
    for (std::size_t n_at = s_digits.size(); n_at > 3; n_at -= 3) {
        s_digits.insert(n_at - 3, ",");
    }
    return s_digits;
}

std::string s_TallyText(const CT_StoryTally& co_Tally) {
    char ac_text[96];
    std::snprintf(ac_text, sizeof ac_text, "%7s words %8s chars",
                  s_Grouped(co_Tally.co_All.n_Words).c_str(),
                  s_Grouped(co_Tally.co_All.n_Characters).c_str());
    std::string s_text = ac_text;
    if (co_Tally.co_Repeated.n_Words != 0) {
        s_text += ", " + s_Grouped(co_Tally.co_Repeated.n_Words) + " repeated";
    }
    return s_text;
}

std::string s_TallyJson(const CT_StoryTally& co_Tally) {
    return "\"words\": " + std::to_string(co_Tally.co_All.n_Words) +
           ", \"characters\": " + std::to_string(co_Tally.co_All.n_Characters) +
           ", \"repeated_words\": " + std::to_string(co_Tally.co_Repeated.n_Words) +
           ", \"repeated_characters\": " + std::to_string(co_Tally.co_Repeated.n_Characters);
}

std::string s_Json(const std::string& s_Text) {
    return CT_JsonString::ss_Quote(s_Text);
}
}  // namespace

CT_StoryListPrinter::CT_StoryListPrinter(CT_StoryOrder& co_Order, std::string s_DocumentName,
                                         const CT_IdmlHost& co_Host)
    : co_Order(co_Order), s_DocumentName(std::move(s_DocumentName)), co_Host(co_Host) {}

void CT_StoryListPrinter::v_PrintText(std::ostream& co_Out) {
    unsigned n_count = 0;
    unsigned n_left = 0;
    v_ForEachStory(co_Order, co_Host, [&](const CT_Entry& co_Entry) {
        ++(co_Entry.s_LeftOut.empty() ? n_count : n_left);
    });
    co_Out << s_DocumentName << ": " << n_count << (n_count == 1 ? " story" : " stories");
    if (n_left > 0) {
        co_Out << " (and " << n_left << " left out)";
    }
    co_Out << ", " << ss_OrderName(co_Order.eo_GetStoryOrder()) << " order\n";
    bool b_first = true;
    int i_group = 0;
    v_ForEachStory(co_Order, co_Host, [&](const CT_Entry& co_Entry) {
        const int i_page = co_Entry.pco_Box->i_GetPage();
        if (b_first || i_page != i_group) {
            co_Out << "\n" << s_GroupLabel(i_page) << "\n";
            i_group = i_page;
            b_first = false;
        }
        const std::size_t n_width = n_Columns(co_Entry.s_Label);
        const std::string s_key(co_Entry.pco_Box->cco_GetKey().sv());
        const tagPOINT& co_at = co_Entry.pco_Box->cco_GetPosition();
        const std::string s_at = "at " + std::to_string(co_at.x) + ", " + std::to_string(co_at.y);
        co_Out << "  " << co_Entry.s_Label << std::string(n_width < 36 ? 36 - n_width : 1, ' ')
               << s_key << std::string(s_key.size() < 10 ? 10 - s_key.size() : 1, ' ') << s_at;
        if (pco_StoryCounts != nullptr) {
            co_Out << std::string(s_at.size() < 16 ? 16 - s_at.size() : 1, ' ')
                   << s_TallyText(pco_StoryCounts->co_Get(s_key));
        }
        if (!co_Entry.s_Layer.empty()) {
            co_Out << "  layer \"" << co_Entry.s_Layer << "\"";
        }
        if (!co_Entry.s_LeftOut.empty()) {
            co_Out << "  [left out: " << co_Entry.s_LeftOut << "]";
        }
        co_Out << "\n";
    });
    if (pco_StoryCounts == nullptr) {
        return;
    }
    const CT_StoryTally& co_total = pco_StoryCounts->co_GetTotal();
    co_Out << "\nTo translate: " << s_Grouped(co_total.co_All.n_Words) << " words, "
           << s_Grouped(co_total.co_All.n_Characters) << " characters; repeated inside the "
           << "document: " << s_Grouped(co_total.co_Repeated.n_Words) << " words, "
           << s_Grouped(co_total.co_Repeated.n_Characters) << " characters\n";
}

void CT_StoryListPrinter::v_PrintJson(std::ostream& co_Out) {
    co_Out << "{\n  \"document\": " << s_Json(s_DocumentName)
           << ",\n  \"order\": " << s_Json(ss_OrderName(co_Order.eo_GetStoryOrder()))
           << ",\n  \"stories\": [";
    const char* pc_separator = "\n";
    v_ForEachStory(co_Order, co_Host, [&](const CT_Entry& co_Entry) {
        const int i_page = co_Entry.pco_Box->i_GetPage();
        co_Out << pc_separator << "    {\"number\": " << co_Entry.n_Number
               << ", \"key\": " << s_Json(std::string(co_Entry.pco_Box->cco_GetKey().sv()))
               << ", \"label\": " << s_Json(co_Entry.s_Label)
               << ", \"preview\": " << s_Json(co_Entry.s_Preview) << ", \"page\": " << i_page
               << ", \"group\": " << s_Json(s_GroupLabel(i_page))
               << ", \"x\": " << co_Entry.pco_Box->cco_GetPosition().x
               << ", \"y\": " << co_Entry.pco_Box->cco_GetPosition().y
               << ", \"layer\": " << s_Json(co_Entry.s_Layer)
               << ", \"export\": " << (co_Entry.s_LeftOut.empty() ? "true" : "false")
               << ", \"left_out\": "
               << (co_Entry.s_LeftOut.empty() ? std::string("null") : s_Json(co_Entry.s_LeftOut));
        if (pco_StoryCounts != nullptr) {
            co_Out << ", "
                   << s_TallyJson(pco_StoryCounts->co_Get(
                          std::string(co_Entry.pco_Box->cco_GetKey().sv())));
        }
        co_Out << "}";
        pc_separator = ",\n";
    });
    co_Out << (co_Order.b_IsEmpty() ? "]" : "\n  ]");
    if (pco_StoryCounts != nullptr) {
        co_Out << ",\n  \"total\": {" << s_TallyJson(pco_StoryCounts->co_GetTotal()) << "}";
    }
    co_Out << "\n}\n";
}

void CT_StoryListPrinter::v_PrintKeys(std::ostream& co_Out) {
    v_ForEachStory(co_Order, co_Host, [&](const CT_Entry& co_Entry) {
        if (co_Entry.s_LeftOut.empty()) {
            co_Out << co_Entry.pco_Box->cco_GetKey().sv() << "\n";
        }
    });
}

std::string CT_StoryListPrinter::ss_OrderName(int i_Kind) {
    switch (i_Kind) {
        case e_TopDown:
            return "top-down";
        case e_LeftRight:
            return "left-right";
        case e_Custom:
            return "custom";
        default:
            return "kind " + std::to_string(i_Kind);
    }
}
