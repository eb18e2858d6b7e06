// All the user's settings in one record, as the settings file loads and saves them. Holds the
// three records by value; copies are independent.
#pragma once

#include "settings/ct_path_settings.h"
#include "settings/ct_story_format_settings.h"
#include "settings/ct_story_list_settings.h"

class CT_ProcessSettings {
  public:
    CT_ProcessSettings() = default;

    CT_StoryListSettings& co_GetStoryListSettings() { return co_StoryListSettings; }
    CT_PathSettings& co_GetPathSettings() { return co_PathSettings; }
    CT_StoryFormatSettings& co_GetStoryFormatSettings() { return co_StoryFormatSettings; }

  private:
    CT_StoryListSettings co_StoryListSettings;
    CT_PathSettings co_PathSettings;
    CT_StoryFormatSettings co_StoryFormatSettings;
};
