#include "tools/ct_story_list_printer.h"

#include <cstdio>
#include <string>

#include "map/ct_json_string.h"
#include "platform/common/ct_utf8.h"
#include "storyport/operations.h"

namespace {
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

void CT_StoryListPrinter::v_PrintText(std::ostream& co_Out) const {
    unsigned n_count = 0;
    unsigned n_left = 0;
    for (const CT_ListedStory& co_story : co_Listing.co_Stories) {
        ++(co_story.s_LeftOut.empty() ? n_count : n_left);
    }
    co_Out << co_Listing.s_Document << ": " << n_count << (n_count == 1 ? " story" : " stories");
    if (n_left > 0) {
        co_Out << " (and " << n_left << " left out)";
    }
    co_Out << ", " << co_Listing.s_Order << " order";
    if (!co_Listing.s_OrderFile.empty()) {
        co_Out << " from " << co_Listing.s_OrderFile;
    }
    co_Out << "\n";
    bool b_first = true;
    int i_group = 0;
    for (const CT_ListedStory& co_story : co_Listing.co_Stories) {
        if (b_first || co_story.i_Page != i_group) {
            co_Out << "\n" << co_story.s_Group << "\n";
            i_group = co_story.i_Page;
            b_first = false;
        }
        const std::size_t n_width = n_Columns(co_story.s_Label);
        const std::string& s_key = co_story.s_Key;
        const std::string s_at =
            "at " + std::to_string(co_story.i_X) + ", " + std::to_string(co_story.i_Y);
        co_Out << "  " << co_story.s_Label << std::string(n_width < 36 ? 36 - n_width : 1, ' ')
               << s_key << std::string(s_key.size() < 10 ? 10 - s_key.size() : 1, ' ') << s_at;
        if (co_Listing.b_Counted) {
            co_Out << std::string(s_at.size() < 16 ? 16 - s_at.size() : 1, ' ')
                   << s_TallyText(co_story.co_Tally);
        }
        if (!co_story.s_Layer.empty()) {
            co_Out << "  layer \"" << co_story.s_Layer << "\"";
        }
        if (!co_story.s_LeftOut.empty()) {
            co_Out << "  [left out: " << co_story.s_LeftOut << "]";
        }
        co_Out << "\n";
    }
    if (!co_Listing.b_Counted) {
        return;
    }
    const CT_StoryTally& co_total = co_Listing.co_Total;
    co_Out << "\nTo translate: " << s_Grouped(co_total.co_All.n_Words) << " words, "
           << s_Grouped(co_total.co_All.n_Characters) << " characters; repeated inside the "
           << "document: " << s_Grouped(co_total.co_Repeated.n_Words) << " words, "
           << s_Grouped(co_total.co_Repeated.n_Characters) << " characters\n";
}

void CT_StoryListPrinter::v_PrintJson(std::ostream& co_Out) const {
    co_Out << "{\n  \"document\": " << s_Json(co_Listing.s_Document)
           << ",\n  \"order\": " << s_Json(co_Listing.s_Order) << ",\n  \"order_file\": "
           << (co_Listing.s_OrderFile.empty() ? std::string("null")
                                              : s_Json(co_Listing.s_OrderFile))
           << ",\n  \"stories\": [";
    const char* pc_separator = "\n";
    for (const CT_ListedStory& co_story : co_Listing.co_Stories) {
        co_Out << pc_separator << "    {\"number\": " << co_story.n_Number
               << ", \"key\": " << s_Json(co_story.s_Key)
               << ", \"label\": " << s_Json(co_story.s_Label)
               << ", \"preview\": " << s_Json(co_story.s_Preview)
               << ", \"page\": " << co_story.i_Page << ", \"group\": " << s_Json(co_story.s_Group)
               << ", \"x\": " << co_story.i_X << ", \"y\": " << co_story.i_Y
               << ", \"layer\": " << s_Json(co_story.s_Layer)
               << ", \"export\": " << (co_story.s_LeftOut.empty() ? "true" : "false")
               << ", \"left_out\": "
               << (co_story.s_LeftOut.empty() ? std::string("null") : s_Json(co_story.s_LeftOut));
        if (co_Listing.b_Counted) {
            co_Out << ", " << s_TallyJson(co_story.co_Tally);
        }
        co_Out << "}";
        pc_separator = ",\n";
    }
    co_Out << (co_Listing.co_Stories.empty() ? "]" : "\n  ]");
    if (co_Listing.b_Counted) {
        co_Out << ",\n  \"total\": {" << s_TallyJson(co_Listing.co_Total) << "}";
    }
    co_Out << "\n}\n";
}

void CT_StoryListPrinter::v_PrintKeys(std::ostream& co_Out) const {
    for (const CT_ListedStory& co_story : co_Listing.co_Stories) {
        if (co_story.s_LeftOut.empty()) {
            co_Out << co_story.s_Key << "\n";
        }
    }
}
