#include "platform/host/idml/ct_idml_story_analysis.h"

#include "platform/common/ct_utf8.h"
#include "platform/host/idml/ct_idml_story_paragraphs.h"
#include "platform/host/idml/ct_idml_story_walker.h"
#include "platform/host/idml/ct_idml_story_writer.h"

namespace {
constexpr std::size_t kn_KeptBuffer = 1u << 20;
}  // namespace

std::size_t CT_IdmlStoryAnalysis::sn_StartEnd(const std::vector<CT_IdmlStoryEvent>& co_Events,
                                              std::size_t n_Flows, std::size_t n_Characters) {
    std::vector<bool> co_inside(n_Flows, false);  // per flow: a paragraph of it is open
    std::size_t n_open = 0;
    std::size_t n_seen = 0;
    for (std::size_t n_event = 0; n_event < co_Events.size(); ++n_event) {
        if (n_seen >= n_Characters && n_open == 0) {
            return n_event;
        }
        const CT_IdmlStoryEvent& co_event = co_Events[n_event];
        if (co_event.n_Flow >= n_Flows) {
            return co_Events.size();
        }
        // As paragraphs are tallied: every event but a cell's start and a flow's end is part
        // of its flow's paragraph, and a break or the flow's end closes it.
        const bool b_closes = co_event.eo_Kind == et_IdmlEvent::e_Break ||
                              co_event.eo_Kind == et_IdmlEvent::e_FlowEnd;
        const bool b_inside =
            co_event.eo_Kind == et_IdmlEvent::e_Cell ? co_inside[co_event.n_Flow] : !b_closes;
        if (b_inside != co_inside[co_event.n_Flow]) {
            co_inside[co_event.n_Flow] = b_inside;
            n_open = b_inside ? n_open + 1 : n_open - 1;
        }
        if (co_event.eo_Kind == et_IdmlEvent::e_Text) {
            n_seen += CT_Utf8::sn_Columns(co_event.co_Node.value());
        } else if (co_event.eo_Kind == et_IdmlEvent::e_Break) {
            ++n_seen;
        }
    }
    return co_Events.size();
}

CT_IdmlStoryAnalysis::CT_IdmlStoryAnalysis(const pugi::xml_node& co_Story,
                                           const CT_IdmlStoryOptions& co_Options)
    : CT_IdmlStoryAnalysis(co_Story, co_Options, 0) {}

CT_IdmlStoryAnalysis::CT_IdmlStoryAnalysis(const pugi::xml_node& co_Story,
                                           const CT_IdmlStoryOptions& co_Options,
                                           std::size_t n_Characters) {
    CT_IdmlStoryWalker(co_Events, co_Flows, co_Options.pco_HiddenConditions).v_Walk(co_Story);
    if (n_Characters > 0) {
        const std::size_t n_end = sn_StartEnd(co_Events, co_Flows.size(), n_Characters);
        b_Start = n_end < co_Events.size();
        co_Events.resize(n_end);
    }
    CT_IdmlStoryParagraphs::sv_Fill(co_Events, co_Flows, co_Keys);
    // Written into a buffer of the thread's, kept from story to story, then copied at its size:
    // one allocation per story instead of one per doubling of its text. A buffer grown by a
    // very long story is given back rather than held while the thread lives.
    thread_local std::string s_written;
    s_written.clear();
    CT_IdmlStoryWriter(co_Events, co_Flows, co_Keys, co_Options.b_SkipNotes)
        .v_Write(s_written, co_Codes);
    co_Content.assign(s_written);
    if (s_written.capacity() > kn_KeptBuffer) {
        std::string().swap(s_written);
    }
}
