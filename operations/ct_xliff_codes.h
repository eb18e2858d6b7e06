// What the IDML host's codes of one story stand for, in the terms an XLIFF file shows a
// translator (ctype, equiv-text) and needs to cut the story into units. Stateless.
#pragma once

#include <vector>

#include "exchange/ct_story_layout.h"
#include "platform/host/idml/ct_idml_story_code_info.h"

class CT_XliffCodes {
  public:
    static CT_StoryLayout::CT_Codes sco_From(const std::vector<CT_IdmlStoryCodeInfo>& co_Infos);
};
