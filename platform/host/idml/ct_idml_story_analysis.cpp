#include "platform/host/idml/ct_idml_story_analysis.h"

#include "platform/host/idml/ct_idml_story_paragraphs.h"
#include "platform/host/idml/ct_idml_story_walker.h"
#include "platform/host/idml/ct_idml_story_writer.h"

CT_IdmlStoryAnalysis::CT_IdmlStoryAnalysis(const pugi::xml_node& co_Story) {
    CT_IdmlStoryWalker(co_Events, co_Flows).v_Walk(co_Story);
    CT_IdmlStoryParagraphs::sv_Fill(co_Events, co_Flows, co_Keys);
    CT_IdmlStoryWriter(co_Events, co_Flows, co_Keys).v_Write(co_Content, co_Codes);
}
