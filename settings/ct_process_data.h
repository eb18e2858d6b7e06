// The context of one export, import or batch: the log to write to, the operation's name and
// the tagged text format fixed when the context was built. It owns its name and its copy of
// the format; the log belongs to the caller and must outlive the context and its copies.
#pragma once

#include "platform/common/ct_log_stream.h"
#include "platform/common/ct_string.h"
#include "settings/ct_story_format_settings.h"

class CT_ProcessData {
  public:
    // Also names the log after the operation.
    CT_ProcessData(CT_LogStream& co_Log, const CT_StoryFormatSettings& co_Format,
                   const CT_String& co_Name);
    // A copy refers to the same log.
    CT_ProcessData(const CT_ProcessData&) = default;
    // The log is held by reference and cannot be re-seated.
    CT_ProcessData& operator=(const CT_ProcessData&) = delete;

    CT_LogStream& co_GetLog() const { return pco_Log; }
    const CT_String& cco_GetProcessName() const { return co_ProcessName; }
    const CT_StoryFormatSettings& cco_GetStoryFormatSettings() const {
        return co_StoryFormatSettings;
    }

  private:
    CT_LogStream& pco_Log;
    CT_String co_ProcessName;
    CT_StoryFormatSettings co_StoryFormatSettings;
};
