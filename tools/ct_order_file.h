// A user's arrangement of the stories, kept as a file of story keys, one per line (what
// "storyport list --keys" writes). Applied to a story order, the listed stories come first on
// their page, in the file's order, and the others follow in the order they had; the story order
// becomes a custom one. Pages keep their places: an arrangement never moves a story to another
// page, as the story order itself groups stories by page.
#pragma once

#include <string>
#include <vector>

class CT_StoryOrder;

class CT_OrderFile {
  public:
    // Reads the file. Blank lines and lines starting with "#" are skipped, blanks around a key
    // are dropped. Raises e_FileOpen naming the file when it cannot be read.
    explicit CT_OrderFile(const std::string& s_Path);

    const std::vector<std::string>& co_GetKeys() const { return co_Keys; }
    // Arranges the story order; returns the keys of the file that no story has, in file order.
    std::vector<std::string> co_Apply(CT_StoryOrder& co_Order) const;

  private:
    std::vector<std::string> co_Keys;
};
