#include "map/ct_fit_report.h"

#include <cmath>
#include <cstdio>
#include <unordered_map>

#include "exchange/ct_word_count.h"
#include "map/ct_json_string.h"
#include "platform/host/idml/ct_idml_document.h"
#include "platform/host/idml/ct_idml_host.h"
#include "platform/host/idml/ct_idml_layout.h"
#include "storyorder/ct_story_order.h"
#include "textbox/ct_text_box.h"

namespace {
std::string s_Json(const std::string& s_Text) {
    return CT_JsonString::ss_Quote(s_Text);
}

// One column per code point, as a terminal shows most text.
std::size_t n_Columns(const std::string& s_Text) {
    std::size_t n_columns = 0;
    for (const char c_byte : s_Text) {
        n_columns += (static_cast<unsigned char>(c_byte) & 0xC0) != 0x80 ? 1 : 0;
    }
    return n_columns;
}

double d_Ratio(const CT_StoryFit& co_Story) {
    return co_Story.n_Source == 0 ? 0.0
                                  : static_cast<double>(co_Story.n_Translated) /
                                        static_cast<double>(co_Story.n_Source);
}

// Frames per story in the layout; an anchored story, which has no frame on a spread, has one.
std::unordered_map<std::string, unsigned> co_FrameCounts(const CT_IdmlDocument& co_Document) {
    std::unordered_map<std::string, unsigned> co_counts;
    const CT_IdmlLayout co_layout(co_Document);
    for (const CT_IdmlSpreadLayout& co_spread : co_layout.co_Spreads()) {
        for (const CT_IdmlFrame& co_frame : co_spread.co_Frames) {
            ++co_counts[co_frame.s_Key];
        }
    }
    return co_counts;
}
}  // namespace

CT_FitReport::CT_FitReport(const CT_IdmlHost& co_Host, CT_StoryOrder& co_Order,
                           const std::map<std::string, std::string>& co_Translated,
                           double d_MaxGrowth)
    : d_MaxGrowth(d_MaxGrowth) {
    if (co_Order.b_IsEmpty()) {
        return;
    }
    const std::unordered_map<std::string, unsigned> co_frames =
        co_FrameCounts(co_Host.cco_GetActiveDocument());
    CT_WordCount co_counter;
    unsigned n_index = 0;
    co_Order.v_GotoFirst();
    do {
        CT_TextBox* pco_box = co_Order.pco_GetCurrent();
        pco_box->v_SetListLabel(n_index);
        CT_StoryFit co_story;
        co_story.n_Number = ++n_index;
        co_story.s_Key = std::string(pco_box->cco_GetKey().sv());
        co_story.s_Label = std::string(pco_box->cco_GetListLabel().sv());
        // What export writes with notes kept, which a document read through has at hand.
        std::string s_source;
        if (co_Host.b_CountedContent(co_story.s_Key, s_source)) {
            co_story.n_Source = co_counter.n_CountTaggedCharacters(s_source);
        }
        const auto co_text = co_Translated.find(co_story.s_Key);
        co_story.b_InFile = co_text != co_Translated.end();
        if (co_story.b_InFile) {
            co_story.n_Translated = co_counter.n_CountTaggedCharacters(co_text->second);
        }
        const auto co_count = co_frames.find(co_story.s_Key);
        co_story.n_Frames = co_count == co_frames.end() ? 1 : co_count->second;
        // Text where there was none has no ratio; it is at risk all the same.
        const bool b_grew = co_story.n_Source == 0 ? co_story.n_Translated > 0
                                                   : d_Ratio(co_story) > 1.0 + d_MaxGrowth + 1e-9;
        co_story.b_AtRisk = co_story.b_InFile && co_story.n_Frames == 1 && b_grew;
        co_Stories.push_back(std::move(co_story));
    } while (co_Order.b_Next());
}

std::size_t CT_FitReport::n_AtRisk() const {
    std::size_t n_count = 0;
    for (const CT_StoryFit& co_story : co_Stories) {
        n_count += co_story.b_AtRisk ? 1 : 0;
    }
    return n_count;
}

std::string CT_FitReport::ss_Percent(double d_Ratio) {
    return std::to_string(static_cast<long long>(std::floor(d_Ratio * 100 + 0.5))) + " %";
}

std::string CT_FitReport::s_Why(const CT_StoryFit& co_Story) const {
    if (co_Story.n_Source == 0) {
        return "new text in a frame of its own";
    }
    return "grown to " + ss_Percent(d_Ratio(co_Story)) + " (" + std::to_string(co_Story.n_Source) +
           " to " + std::to_string(co_Story.n_Translated) +
           " characters) in a frame with no threaded continuation";
}

std::map<std::string, std::string> CT_FitReport::co_GetRisks() const {
    std::map<std::string, std::string> co_risks;
    for (const CT_StoryFit& co_story : co_Stories) {
        if (co_story.b_AtRisk) {
            co_risks.emplace(co_story.s_Key, "may overflow: " + s_Why(co_story));
        }
    }
    return co_risks;
}

void CT_FitReport::v_PrintText(std::ostream& co_Out) const {
    co_Out << "\nLength of the translation (characters, source to translation):\n";
    for (const CT_StoryFit& co_story : co_Stories) {
        const std::size_t n_width = n_Columns(co_story.s_Label);
        co_Out << "  " << co_story.s_Label << std::string(n_width < 36 ? 36 - n_width : 1, ' ')
               << co_story.s_Key
               << std::string(co_story.s_Key.size() < 10 ? 10 - co_story.s_Key.size() : 1, ' ');
        char ac_numbers[96];
        if (!co_story.b_InFile) {
            std::snprintf(ac_numbers, sizeof ac_numbers, "%7zu  not in the file",
                          co_story.n_Source);
        } else {
            std::snprintf(ac_numbers, sizeof ac_numbers, "%7zu -> %7zu  %6s", co_story.n_Source,
                          co_story.n_Translated,
                          co_story.n_Source == 0 ? "new" : ss_Percent(d_Ratio(co_story)).c_str());
        }
        co_Out << ac_numbers;
        if (co_story.b_AtRisk) {
            co_Out << "  may overflow";
        } else if (co_story.n_Frames > 1) {
            co_Out << "  threaded over " << co_story.n_Frames << " frames";
        }
        co_Out << "\n";
    }
    const std::size_t n_risk = n_AtRisk();
    const std::string s_limit =
        std::to_string(static_cast<long long>(std::floor(d_MaxGrowth * 100 + 0.5)));
    co_Out << (n_risk == 0   ? "No story"
               : n_risk == 1 ? "1 story"
                             : std::to_string(n_risk) + " stories")
           << " grew by more than " << s_limit << " % in a frame with no threaded continuation"
           << (n_risk == 0 ? ".\n" : ": check the frames before printing.\n");
}

void CT_FitReport::v_PrintJson(std::ostream& co_Out, const std::string& s_Indent) const {
    co_Out << "{\n"
           << s_Indent << "  \"max_growth\": " << d_MaxGrowth * 100 << ",\n"
           << s_Indent << "  \"at_risk\": " << n_AtRisk() << ",\n"
           << s_Indent << "  \"stories\": [";
    const char* pc_separator = "\n";
    for (const CT_StoryFit& co_story : co_Stories) {
        char ac_ratio[32];
        std::snprintf(ac_ratio, sizeof ac_ratio, "%.3f", d_Ratio(co_story));
        co_Out << pc_separator << s_Indent << "    {\"number\": " << co_story.n_Number
               << ", \"key\": " << s_Json(co_story.s_Key)
               << ", \"label\": " << s_Json(co_story.s_Label)
               << ", \"source_characters\": " << co_story.n_Source
               << ", \"translated_characters\": ";
        if (co_story.b_InFile) {
            co_Out << co_story.n_Translated
                   << ", \"ratio\": " << (co_story.n_Source == 0 ? "null" : ac_ratio);
        } else {
            co_Out << "null, \"ratio\": null";
        }
        co_Out << ", \"frames\": " << co_story.n_Frames
               << ", \"at_risk\": " << (co_story.b_AtRisk ? "true" : "false") << "}";
        pc_separator = ",\n";
    }
    co_Out << (co_Stories.empty() ? "]\n" : "\n" + s_Indent + "  ]\n") << s_Indent << "}";
}
