// Fills each flow's paragraphs and breaks from the events of a walk: the paragraph range of a
// paragraph, and its base character range, the plainest formatting its text has (its text
// needs no code). Paragraphs without text or ranges of their own take those of the
// paragraph before, or the first ones met in the flow.
#pragma once

#include <vector>

#include "platform/host/idml/ct_idml_story_event.h"
#include "platform/host/idml/ct_idml_story_flow.h"
#include "platform/host/idml/ct_idml_story_range_keys.h"

class CT_IdmlStoryParagraphs {
  public:
    static void sv_Fill(const std::vector<CT_IdmlStoryEvent>& co_Events,
                        std::vector<CT_IdmlStoryFlow>& co_Flows, CT_IdmlStoryRangeKeys& co_Keys);
};
