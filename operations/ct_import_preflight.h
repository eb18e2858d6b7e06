// The comparison of a tagged file with the document it is to go into, made before anything is
// imported. A story whose key the document lacks would stop the import half-way, so it is
// refused at once; a key that stands twice (the later story silently replaces the earlier)
// and the document's stories that the file lacks are differences the user must hear about
// and accept.
#pragma once

#include <string>
#include <vector>

class CT_StoryOrder;
class CT_TaggedFile;

class CT_ImportPreflight {
  public:
    // Raises e_UnknownKey, naming the file, the place and the key, when a story's key names no
    // story of the document.
    CT_ImportPreflight(const CT_TaggedFile& co_File, CT_StoryOrder& co_Order);

    // One warning line per difference, "Warning: ...".
    const std::vector<std::string>& co_GetWarnings() const { return co_Warnings; }
    bool b_Differs() const { return !co_Warnings.empty(); }

  private:
    std::vector<std::string> co_Warnings;
};
