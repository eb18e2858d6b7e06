#include "platform/host/idml/ct_idml_story_analysis.h"

#include "platform/host/idml/ct_idml_story_paragraphs.h"
#include "platform/host/idml/ct_idml_story_walker.h"
#include "platform/host/idml/ct_idml_story_writer.h"

CT_IdmlStoryAnalysis::CT_IdmlStoryAnalysis(const pugi::xml_node& co_Story,
                                           const CT_IdmlStoryOptions& co_Options) {
    CT_IdmlStoryWalker(co_Events, co_Flows, co_Options.pco_HiddenConditions).v_Walk(co_Story);
    CT_IdmlStoryParagraphs::sv_Fill(co_Events, co_Flows, co_Keys);
    CT_IdmlStoryWriter(co_Events, co_Flows, co_Keys, co_Options.b_SkipNotes)
        .v_Write(co_Content, co_Codes);
}
