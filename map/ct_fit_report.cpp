#include "map/ct_fit_report.h"

#include <cmath>
#include <cstdio>
#include <deque>
#include <memory>
#include <utility>

#include "exchange/ct_word_count.h"
#include "map/ct_capacity_estimate.h"
#include "map/ct_json_string.h"
#include "platform/common/ct_utf8.h"
#include "platform/common/ct_work_pool.h"
#include "platform/host/ct_document_interface.h"
#include "platform/host/idml/ct_idml_host.h"
#include "storyorder/ct_story_order.h"
#include "textbox/ct_text_box.h"

namespace {
std::string s_Json(const std::string& s_Text) {
    return CT_JsonString::ss_Quote(s_Text);
}

std::string s_Padded(const std::string& s_Text, std::size_t n_Width) {
    // One column per code point, as a terminal shows most text.
    const std::size_t n_width = CT_Utf8::sn_CodePoints(s_Text);
    return s_Text + std::string(n_width < n_Width ? n_Width - n_width : 1, ' ');
}

double d_Ratio(const CT_StoryFit& co_Story) {
    return co_Story.n_Source == 0 ? 0.0
                                  : static_cast<double>(co_Story.n_Translated) /
                                        static_cast<double>(co_Story.n_Source);
}

std::string s_Stories(std::size_t n_Count) {
    return n_Count == 1 ? "1 story" : std::to_string(n_Count) + " stories";
}

// The estimate's verdict on the translation, against the room or, where the document's own
// text already overfills the estimate, against that text.
void v_Judge(const CT_CapacityEstimate& co_Estimate, std::string_view s_Source,
             std::string_view s_Translated, CT_StoryFit& co_Story) {
    const CT_CapacityEstimate::CT_Measure co_source = CT_CapacityEstimate::sco_Measure(s_Source);
    co_Story.n_Capacity = co_Estimate.n_Capacity(co_source);
    if (co_Estimate.b_GrowsWithText()) {
        co_Story.eo_Verdict = et_FitVerdict::e_Fits;
        co_Story.b_Grows = true;
        return;
    }
    const double d_own = co_Estimate.d_Fill(co_source);
    co_Story.d_Fill = co_Estimate.d_Fill(s_Translated) / (d_own > 1 ? d_own : 1.0);
    co_Story.eo_Verdict = co_Story.d_Fill > 1 + 1e-9                 ? et_FitVerdict::e_Overflows
                          : co_Story.d_Fill > CT_FitReport::sd_Tight ? et_FitVerdict::e_Tight
                                                                     : et_FitVerdict::e_Fits;
}
}  // namespace

// What measuring one story needs, gathered from the host and the order on the thread that
// walks it, and what it makes.
struct CT_FitReport::ct_Measuring {
    CT_StoryFit co_Story;
    bool b_Counted = false;  // s_Source holds the story's own content
    std::string s_Source;
    std::string_view s_Translated;
    CT_StorySetting co_Setting;
};

CT_FitReport::CT_FitReport(const CT_IdmlHost& co_Host, CT_StoryOrder& co_Order,
                           const std::map<std::string, std::string_view>& co_Translated,
                           double d_MaxGrowth, unsigned n_Threads)
    : d_MaxGrowth(d_MaxGrowth) {
    if (co_Order.b_IsEmpty()) {
        return;
    }
    // Counting and measuring each story's text, twice over, is most of what a check does after
    // its import: it runs on the pool while this thread walks the order and asks the host,
    // which is asked from one thread only, for what each story needs. Outcomes are taken in
    // story order, and at most a few stories ahead are held.
    std::deque<std::pair<std::size_t, std::unique_ptr<ct_Measuring>>> co_running;
    CT_WorkPool co_pool(n_Threads);  // after co_running: goes first, waiting for its jobs
    auto v_TakeFirst = [&]() {
        co_pool.v_Wait(co_running.front().first);
        co_Stories.push_back(std::move(co_running.front().second->co_Story));
        co_running.pop_front();
    };
    unsigned n_index = 0;
    co_Order.v_GotoFirst();
    do {
        CT_TextBox* pco_box = co_Order.pco_GetCurrent();
        pco_box->v_SetListLabel(n_index);
        auto pco_measuring = std::make_unique<ct_Measuring>();
        CT_StoryFit& co_story = pco_measuring->co_Story;
        co_story.n_Number = ++n_index;
        co_story.s_Key = std::string(pco_box->cco_GetKey().sv());
        co_story.s_Label = std::string(pco_box->cco_GetListLabel().sv());
        // What export writes with notes kept, which a document read through has at hand.
        pco_measuring->b_Counted =
            co_Host.b_CountedContent(co_story.s_Key, pco_measuring->s_Source);
        const auto co_text = co_Translated.find(co_story.s_Key);
        co_story.b_InFile = co_text != co_Translated.end();
        if (co_story.b_InFile) {
            pco_measuring->s_Translated = co_text->second;
        }
        pco_measuring->co_Setting =
            CT_DocumentInterface::sco_GetStorySetting(pco_box->cco_GetKey());
        ct_Measuring* pco_job = pco_measuring.get();
        const double d_growth = d_MaxGrowth;
        co_running.emplace_back(
            co_pool.n_Give([pco_job, d_growth]() { sv_Measure(*pco_job, d_growth); }),
            std::move(pco_measuring));
        if (co_running.size() > co_pool.n_Ahead()) {
            v_TakeFirst();
        }
    } while (co_Order.b_Next());
    while (!co_running.empty()) {
        v_TakeFirst();
    }
}

void CT_FitReport::sv_Measure(ct_Measuring& co_Measuring, double d_MaxGrowth) {
    // One counter a thread: its ICU iterators are made once, not once a story, and what it
    // remembers of the pieces it met only spares counting them again.
    static thread_local CT_WordCount sco_counter;
    CT_StoryFit& co_story = co_Measuring.co_Story;
    const CT_StorySetting& co_setting = co_Measuring.co_Setting;
    if (co_Measuring.b_Counted) {
        co_story.n_Source = sco_counter.n_CountTaggedCharacters(co_Measuring.s_Source);
    }
    const std::string_view s_source(co_Measuring.s_Source);
    const std::string_view s_translated = co_story.b_InFile ? co_Measuring.s_Translated : s_source;
    if (co_story.b_InFile) {
        co_story.n_Translated = sco_counter.n_CountTaggedCharacters(s_translated);
    }
    if (!co_setting.co_Frames.empty()) {
        co_story.n_Frames = static_cast<unsigned>(co_setting.co_Frames.size());
        co_story.s_Page = co_setting.co_Frames.front().s_Page;
        co_story.b_OnMaster = co_setting.co_Frames.front().b_OnMasterPage;
        co_story.s_Frame = co_setting.co_Frames.back().s_Id;
        co_story.s_NotPrinted = co_setting.co_Frames.front().s_NotPrinted;
    }
    const CT_CapacityEstimate co_estimate(co_setting);
    co_story.b_Prints = co_setting.co_Frames.empty() || co_estimate.b_Prints();
    if (co_estimate.b_Measurable()) {
        v_Judge(co_estimate, s_source, s_translated, co_story);
    }
    // Text where there was none has no ratio; it is at risk all the same.
    const bool b_grew = co_story.n_Source == 0 ? co_story.n_Translated > 0
                                               : d_Ratio(co_story) > 1.0 + d_MaxGrowth + 1e-9;
    const bool b_risk = co_story.eo_Verdict == et_FitVerdict::e_Unmeasured
                            ? co_story.b_InFile && co_story.n_Frames == 1 && b_grew
                            : co_story.eo_Verdict == et_FitVerdict::e_Overflows;
    co_story.b_AtRisk = co_story.b_Prints && b_risk;
}

std::size_t CT_FitReport::n_AtRisk() const {
    std::size_t n_count = 0;
    for (const CT_StoryFit& co_story : co_Stories) {
        n_count += co_story.b_AtRisk ? 1 : 0;
    }
    return n_count;
}

std::size_t CT_FitReport::n_Tight() const {
    std::size_t n_count = 0;
    for (const CT_StoryFit& co_story : co_Stories) {
        n_count += co_story.b_Prints && co_story.eo_Verdict == et_FitVerdict::e_Tight ? 1 : 0;
    }
    return n_count;
}

const char* CT_FitReport::spc_Verdict(et_FitVerdict eo_Verdict) {
    switch (eo_Verdict) {
        case et_FitVerdict::e_Fits:
            return "fits";
        case et_FitVerdict::e_Tight:
            return "tight";
        case et_FitVerdict::e_Overflows:
            return "overflows";
        case et_FitVerdict::e_Unmeasured:
            break;
    }
    return "unmeasured";
}

std::string CT_FitReport::ss_Percent(double d_Ratio) {
    return std::to_string(static_cast<long long>(std::floor(d_Ratio * 100 + 0.5))) + " %";
}

// "page A22, frame u1dc": where to look in the layout.
std::string CT_FitReport::ss_Where(const CT_StoryFit& co_Story) {
    std::string s_where = co_Story.s_Page.empty() ? ""
                          : co_Story.b_OnMaster   ? "master " + co_Story.s_Page
                                                  : "page " + co_Story.s_Page;
    if (!co_Story.s_Frame.empty()) {
        s_where += (s_where.empty() ? "frame " : ", frame ") + co_Story.s_Frame;
    }
    return s_where;
}

std::string CT_FitReport::s_Why(const CT_StoryFit& co_Story) const {
    const std::string s_where = ss_Where(co_Story);
    if (co_Story.eo_Verdict == et_FitVerdict::e_Overflows) {
        return "overflows: the translation needs about " +
               (std::isfinite(co_Story.d_Fill) ? ss_Percent(co_Story.d_Fill)
                                               : std::string("more than 100 %")) +
               " of the room its frames give it" + (s_where.empty() ? "" : " (" + s_where + ")");
    }
    if (co_Story.n_Source == 0) {
        return "may overflow: new text in a frame of its own";
    }
    return "may overflow: grown to " + ss_Percent(d_Ratio(co_Story)) + " (" +
           std::to_string(co_Story.n_Source) + " to " + std::to_string(co_Story.n_Translated) +
           " characters) in a frame with no threaded continuation";
}

std::string CT_FitReport::s_Sentence(const CT_StoryFit& co_Story) const {
    if (co_Story.b_AtRisk) {
        return s_Why(co_Story);
    }
    if (!co_Story.b_Prints) {
        return "does not print (" + co_Story.s_NotPrinted + "), so it is never flagged";
    }
    const char* pc_text = co_Story.b_InFile ? "the translation" : "the text";
    if (co_Story.eo_Verdict == et_FitVerdict::e_Unmeasured) {
        const std::string s_why = "not measured: its frames have no room to measure";
        if (!co_Story.b_InFile) {
            return s_why;
        }
        return s_why + (co_Story.n_Frames > 1 ? ", and its text can run on along its thread"
                                              : ", and the translation grew no more than the " +
                                                    ss_Percent(d_MaxGrowth) + " allowed");
    }
    if (co_Story.b_Grows) {
        return "fits: its frame grows with its text";
    }
    return std::string(spc_Verdict(co_Story.eo_Verdict)) + ": " + pc_text + " fills about " +
           ss_Percent(co_Story.d_Fill) + " of the room its frames give it (about " +
           std::to_string(co_Story.n_Capacity) + " characters)";
}

std::map<std::string, std::string> CT_FitReport::co_GetRisks() const {
    std::map<std::string, std::string> co_risks;
    for (const CT_StoryFit& co_story : co_Stories) {
        if (co_story.b_AtRisk) {
            co_risks.emplace(co_story.s_Key, s_Why(co_story));
        }
    }
    return co_risks;
}

void CT_FitReport::v_PrintLine(std::ostream& co_Out, const CT_StoryFit& co_Story) const {
    co_Out << "  " << s_Padded(co_Story.s_Label, 36) << s_Padded(co_Story.s_Key, 8);
    char ac_numbers[96];
    if (!co_Story.b_InFile) {
        std::snprintf(ac_numbers, sizeof ac_numbers, "%6zu  not in the file ", co_Story.n_Source);
    } else {
        std::snprintf(ac_numbers, sizeof ac_numbers, "%6zu -> %6zu %6s", co_Story.n_Source,
                      co_Story.n_Translated,
                      co_Story.n_Source == 0 ? "new" : ss_Percent(d_Ratio(co_Story)).c_str());
    }
    co_Out << ac_numbers;
    if (!co_Story.b_Prints) {
        co_Out << "  " << co_Story.s_NotPrinted << "\n";
        return;
    }
    if (co_Story.eo_Verdict == et_FitVerdict::e_Unmeasured) {
        co_Out << "  " << (co_Story.b_AtRisk ? "may overflow" : "not measured");
    } else {
        std::snprintf(ac_numbers, sizeof ac_numbers, "  of %6zu  %-9s", co_Story.n_Capacity,
                      spc_Verdict(co_Story.eo_Verdict));
        co_Out << ac_numbers;
    }
    const std::string s_where = ss_Where(co_Story);
    co_Out << (s_where.empty() ? "" : "  " + s_where) << "\n";
}

void CT_FitReport::v_PrintText(std::ostream& co_Out) const {
    co_Out << "\nFit of the translation (characters: source -> translation, of the capacity "
              "estimated for its frames):\n";
    bool b_apart = false;
    for (const CT_StoryFit& co_story : co_Stories) {
        b_apart = b_apart || !co_story.b_Prints;
        if (co_story.b_Prints) {
            v_PrintLine(co_Out, co_story);
        }
    }
    if (b_apart) {
        co_Out << "Not printed, so never flagged:\n";
        for (const CT_StoryFit& co_story : co_Stories) {
            if (!co_story.b_Prints) {
                v_PrintLine(co_Out, co_story);
            }
        }
    }
    // The list above has every story's line: a summary names the first few, so that it stays
    // a line to read in a document of thousands of stories.
    constexpr std::size_t kn_Named = 10;
    std::string s_overflow, s_tight;
    std::size_t n_overflow = 0, n_tightNamed = 0;
    for (const CT_StoryFit& co_story : co_Stories) {
        std::string& s_list = co_story.b_AtRisk ? s_overflow : s_tight;
        std::size_t& n_named = co_story.b_AtRisk ? n_overflow : n_tightNamed;
        if ((co_story.b_AtRisk ||
             (co_story.b_Prints && co_story.eo_Verdict == et_FitVerdict::e_Tight)) &&
            n_named++ < kn_Named) {
            s_list += (s_list.empty() ? "" : "; ") + std::string("story ") +
                      std::to_string(co_story.n_Number) +
                      (ss_Where(co_story).empty() ? "" : " (" + ss_Where(co_story) + ")");
        }
    }
    const auto s_More = [](std::size_t n_Count) {
        return n_Count > kn_Named ? " and " + std::to_string(n_Count - kn_Named) + " more" : "";
    };
    s_overflow += s_More(n_overflow);
    s_tight += s_More(n_tightNamed);
    const std::size_t n_risk = n_AtRisk(), n_tight = n_Tight();
    if (n_risk == 0 && n_tight == 0) {
        co_Out << "Every printed story fits its frames.\n";
    }
    if (n_risk > 0) {
        co_Out << s_Stories(n_risk) << " may overflow: " << s_overflow
               << ". Check the frames before printing.\n";
    }
    if (n_tight > 0) {
        co_Out << s_Stories(n_tight) << " fill" << (n_tight == 1 ? "s" : "")
               << " more than 90 % of their frames: " << s_tight << ".\n";
    }
}

void CT_FitReport::v_PrintJson(std::ostream& co_Out, const std::string& s_Indent) const {
    co_Out << "{\n"
           << s_Indent << "  \"max_growth\": " << d_MaxGrowth * 100 << ",\n"
           << s_Indent << "  \"at_risk\": " << n_AtRisk() << ",\n"
           << s_Indent << "  \"tight\": " << n_Tight() << ",\n"
           << s_Indent << "  \"stories\": [";
    const char* pc_separator = "\n";
    for (const CT_StoryFit& co_story : co_Stories) {
        char ac_number[32];
        std::snprintf(ac_number, sizeof ac_number, "%.3f", d_Ratio(co_story));
        co_Out << pc_separator << s_Indent << "    {\"number\": " << co_story.n_Number
               << ", \"key\": " << s_Json(co_story.s_Key)
               << ", \"label\": " << s_Json(co_story.s_Label)
               << ", \"source_characters\": " << co_story.n_Source
               << ", \"translated_characters\": ";
        if (co_story.b_InFile) {
            co_Out << co_story.n_Translated
                   << ", \"ratio\": " << (co_story.n_Source == 0 ? "null" : ac_number);
        } else {
            co_Out << "null, \"ratio\": null";
        }
        const bool b_measured = co_story.eo_Verdict != et_FitVerdict::e_Unmeasured;
        std::snprintf(ac_number, sizeof ac_number, "%.3f", co_story.d_Fill);
        co_Out << ", \"frames\": " << co_story.n_Frames << ", \"page\": " << s_Json(co_story.s_Page)
               << ", \"frame\": " << s_Json(co_story.s_Frame)
               << ", \"prints\": " << (co_story.b_Prints ? "true" : "false") << ", \"capacity\": "
               << (b_measured ? std::to_string(co_story.n_Capacity) : std::string("null"))
               << ", \"fill\": "
               << (b_measured && std::isfinite(co_story.d_Fill) ? ac_number : "null")
               << ", \"verdict\": " << s_Json(spc_Verdict(co_story.eo_Verdict))
               << ", \"at_risk\": " << (co_story.b_AtRisk ? "true" : "false") << "}";
        pc_separator = ",\n";
    }
    co_Out << (co_Stories.empty() ? "]\n" : "\n" + s_Indent + "  ]\n") << s_Indent << "}";
}
