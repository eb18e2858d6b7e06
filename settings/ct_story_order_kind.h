// The kinds of story order. The number is what the settings file stores; any value other than
// e_TopDown and e_LeftRight places boxes like e_Custom, but only e_Custom itself keeps a saved
// arrangement. The kind lives with the settings records, which store it, so that they need nothing
// of the story order that reads them.
#pragma once

enum et_StoryOrder : int { e_TopDown = 0, e_LeftRight = 1, e_Custom = 2 };
