// A user's arrangement of the stories, kept as a file of story keys, one per line (what
// "storyport list --keys" writes). Applied to a story order, the listed stories come first on
// their page, in the file's order, and the others follow in the order they had; the story order
// becomes a custom one. Pages keep their places: an arrangement never moves a story to another
// page, as the story order itself groups stories by page.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

class CT_StoryOrder;

class CT_OrderFile {
  public:
    // Reads the file. Blank lines and lines starting with "#" are skipped, blanks around a key
    // and a UTF-8 byte order mark are dropped. Raises e_FileOpen naming the file when it cannot
    // be read or is a folder, and e_FileRead when it is plainly another kind of file (a
    // document, a tagged story or XLIFF file, no text), whose every line would otherwise be
    // taken for a key.
    explicit CT_OrderFile(const std::string& s_Path);

    const std::string& s_GetPath() const { return s_Path; }
    const std::vector<std::string>& co_GetKeys() const { return co_Keys; }
    // Arranges the story order; returns the line and the key of each key of the file that no
    // story has, in file order.
    std::vector<std::pair<std::size_t, std::string>> co_Apply(CT_StoryOrder& co_Order) const;

  private:
    std::string s_Path;
    std::vector<std::string> co_Keys;
    std::vector<std::size_t> co_Lines;  // the line of each key
};
