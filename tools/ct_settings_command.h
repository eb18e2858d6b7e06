// "storyport settings [show | set KEY VALUE]": shows the settings file's path and values, or
// changes one value and saves the file. Keys are the file's own (IMPORT_FOLDER, EXPORT_FOLDER,
// STORY_ORDER, IGNORE_STORY_ON_PASTE_BOARD) or their spelled-out forms (import-folder, ...).
#pragma once

#include "operations/ct_exit_status.h"

class CT_ToolSession;

class CT_SettingsCommand {
  public:
    static et_ExitStatus seo_RunShow(CT_ToolSession& co_Session);
    // 2 for an unknown key or a value the key does not take; errors saving pass on.
    static et_ExitStatus seo_RunSet(CT_ToolSession& co_Session);
};
