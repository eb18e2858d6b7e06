#include "platform/host/idml/ct_idml_story_paragraphs.h"

#include <cstddef>
#include <cstring>

namespace {
// What one paragraph held while its events are read.
struct ct_Tally {
    pugi::xml_node co_Psr;
    pugi::xml_node co_FirstCsr;
    // Per formatting: the range of that formatting with the longest text, which stands for it
    // (a short kerned run does not).
    struct ct_Weight {
        unsigned n_Key;
        pugi::xml_node co_Best;
        std::size_t n_BestBytes;
        pugi::xml_node co_Last;
        std::size_t n_LastBytes;
    };
    std::vector<ct_Weight> co_Weights;  // few per paragraph: a linear search is enough

    // Ready for the next paragraph, the list keeping its memory: a story has many paragraphs.
    void v_Reset() {
        co_Psr = pugi::xml_node();
        co_FirstCsr = pugi::xml_node();
        co_Weights.clear();
    }

    void v_Add(const CT_IdmlStoryEvent& co_Event, CT_IdmlStoryRangeKeys& co_Keys) {
        if (!co_Psr) {
            co_Psr = co_Event.co_Psr;
        }
        if (!co_FirstCsr) {
            co_FirstCsr = co_Event.co_Csr;
        }
        if (co_Event.eo_Kind != et_IdmlEvent::e_Text) {
            return;
        }
        unsigned n_key = co_Keys.n_Key(co_Event.co_Csr);
        ct_Weight* pco_weight = pco_Find(n_key);
        if (!pco_weight) {
            co_Weights.push_back({n_key, co_Event.co_Csr, 0, pugi::xml_node(), 0});
            pco_weight = &co_Weights.back();
        }
        if (pco_weight->co_Last != co_Event.co_Csr) {
            pco_weight->co_Last = co_Event.co_Csr;
            pco_weight->n_LastBytes = 0;
        }
        pco_weight->n_LastBytes += std::strlen(co_Event.co_Node.value());
        if (pco_weight->n_LastBytes > pco_weight->n_BestBytes) {
            pco_weight->co_Best = co_Event.co_Csr;
            pco_weight->n_BestBytes = pco_weight->n_LastBytes;
        }
    }

    ct_Weight* pco_Find(unsigned n_Key) {
        for (ct_Weight& co_weight : co_Weights) {
            if (co_weight.n_Key == n_Key) {
                return &co_weight;
            }
        }
        return nullptr;
    }

    // The base is the plainest formatting the paragraph's text has, not the one with the most
    // characters or runs: a translation changes those (longer words, a formatted word moved to
    // the front), the base would change with them and so would the number of every code after
    // it, and the content just imported would no longer fit the story. The formattings a
    // paragraph has survive any translation that keeps its codes and some uncoded text, and
    // how plain each one is depends on the formatting alone.
    pugi::xml_node co_Base(const CT_IdmlStoryRangeKeys& co_Keys) const {
        const ct_Weight* pco_best = nullptr;
        for (const ct_Weight& co_weight : co_Weights) {
            if (!pco_best || co_Keys.b_Plainer(co_weight.n_Key, pco_best->n_Key)) {
                pco_best = &co_weight;
            }
        }
        return pco_best ? pco_best->co_Best : co_FirstCsr;
    }
};

void v_Close(ct_Tally& co_Tally, CT_IdmlStoryFlow& co_Flow, CT_IdmlStoryRangeKeys& co_Keys) {
    const CT_IdmlStoryParagraph* pco_before =
        co_Flow.co_Paragraphs.empty() ? nullptr : &co_Flow.co_Paragraphs.back();
    CT_IdmlStoryParagraph co_paragraph;
    co_paragraph.co_Psr = co_Tally.co_Psr ? co_Tally.co_Psr
                          : pco_before    ? pco_before->co_Psr
                                          : co_Flow.co_FirstPsr;
    pugi::xml_node co_base = co_Tally.co_Base(co_Keys);
    co_paragraph.co_BaseCsr = co_base      ? co_base
                              : pco_before ? pco_before->co_BaseCsr
                                           : co_Flow.co_FirstCsr;
    co_paragraph.n_BaseKey = co_Keys.n_Key(co_paragraph.co_BaseCsr);
    co_Flow.co_Paragraphs.push_back(co_paragraph);
    co_Tally.v_Reset();
}
}  // namespace

void CT_IdmlStoryParagraphs::sv_Fill(const std::vector<CT_IdmlStoryEvent>& co_Events,
                                     std::vector<CT_IdmlStoryFlow>& co_Flows,
                                     CT_IdmlStoryRangeKeys& co_Keys) {
    std::vector<ct_Tally> co_tallies(co_Flows.size());
    for (std::size_t n_event = 0; n_event < co_Events.size(); ++n_event) {
        const CT_IdmlStoryEvent& co_event = co_Events[n_event];
        CT_IdmlStoryFlow& co_flow = co_Flows[co_event.n_Flow];
        ct_Tally& co_tally = co_tallies[co_event.n_Flow];
        if (b_InParagraph(co_event.eo_Kind)) {
            co_tally.v_Add(co_event, co_Keys);
        }
        if (co_event.eo_Kind == et_IdmlEvent::e_Break) {
            co_flow.co_Breaks.push_back(n_event);
        }
        if (b_EndsParagraph(co_event.eo_Kind)) {
            v_Close(co_tally, co_flow, co_Keys);
        }
    }
}
