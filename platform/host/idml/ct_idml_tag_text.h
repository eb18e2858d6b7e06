// What the IDML host puts into a story's start tag: the key that stands for a story id and the
// master spread name of a location. Both come from the package, where they may hold any
// character; in the tag they must never end the quoted text or the tag. Stateless.
#pragma once

#include <string>

class CT_IdmlTagText {
  public:
    // The story id with "%", the quote, "<", ">", "&", blanks and control characters written
    // as "%" and two hex digits. Distinct ids give distinct keys, so a key read back from a
    // tagged file still names one story.
    static std::string ss_Key(const std::string& s_StoryId);
    // The story id a key stands for: ss_Key undone. A "%" without two hex digits stays.
    static std::string ss_StoryId(const std::string& s_Key);
    // The spread name with the same characters written the same way, blanks excepted: the
    // location only informs the reader of the file.
    static std::string ss_Location(const std::string& s_SpreadName);
};
