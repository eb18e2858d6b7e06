#include "platform/host/idml/ct_idml_story_analysis.h"

#include "platform/host/idml/ct_idml_story_paragraphs.h"
#include "platform/host/idml/ct_idml_story_walker.h"
#include "platform/host/idml/ct_idml_story_writer.h"

namespace {
constexpr std::size_t kn_KeptBuffer = 1u << 20;
}  // namespace

CT_IdmlStoryAnalysis::CT_IdmlStoryAnalysis(const pugi::xml_node& co_Story,
                                           const CT_IdmlStoryOptions& co_Options)
    : CT_IdmlStoryAnalysis(co_Story, co_Options, 0) {}

CT_IdmlStoryAnalysis::CT_IdmlStoryAnalysis(const pugi::xml_node& co_Story,
                                           const CT_IdmlStoryOptions& co_Options,
                                           std::size_t n_Characters) {
    CT_IdmlStoryWalker co_walker(co_Events, co_Flows, co_Options.pco_HiddenConditions);
    co_walker.v_StopAt(n_Characters);
    co_walker.v_Walk(co_Story);
    b_Start = co_walker.b_Stopped();
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
