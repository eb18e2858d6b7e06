// The stories of a tagged story file as the exchange formats need them: key, location and
// content, in file order; and the file built back from stories. Works on the whole file in
// memory, or reads a stream a block at a time; the version tags are the caller's (they belong
// to the host).
#pragma once

#include <functional>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

struct CT_TaggedStory {
    std::string co_Key;
    std::string co_Location;
    std::string co_Content;
};

class CT_TaggedStoryFile {
  public:
    // The stories of co_File. Raises std::invalid_argument naming the story when a start tag
    // is broken or a story has no end tag.
    static std::vector<CT_TaggedStory> sco_Read(std::string_view co_File);
    // The same, story by story as views into co_File (key, location, content), without copies.
    using CT_Visit = std::function<void(std::string_view, std::string_view, std::string_view)>;
    static void sv_ForEach(std::string_view co_File, const CT_Visit& f_Visit);
    // The same from a stream, read a block at a time: no more is held than a block and the
    // largest story, whatever the file's size. Raises as sv_ForEach, and std::runtime_error
    // when the stream cannot be read.
    static void sv_ForEach(std::istream& co_In, const CT_Visit& f_Visit);
    // A file as export writes one: open tag, each story framed by its tags, close tag.
    static std::string s_Write(const std::vector<CT_TaggedStory>& co_Stories,
                               std::string_view co_OpenTag, std::string_view co_CloseTag);
    // One story framed by its tags, as s_Write writes it, added to co_Into: for a writer that
    // does not hold the whole file at once.
    static void sv_WriteStory(std::string_view co_Key, std::string_view co_Location,
                              std::string_view co_Content, std::string& co_Into);
};
