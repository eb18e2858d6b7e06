// Puts a document's story order into a sequence of keys computed outside the kernel (a reading
// order, the document's structure). The kernel keeps any sequence as a custom one; the story
// order stays the caller's, and the boxes its own.
#pragma once

#include <string>
#include <vector>

class CT_StoryOrder;

class CT_StoryArrangement {
  public:
    // Makes the order custom and sorts each page group by the keys' sequence; boxes whose key
    // the sequence lacks follow on their page in the order they had. Page groups keep their
    // places, except that all master pages count as one group: a spread's pages are read
    // left page first, which the kernel's grouping by page would reverse.
    static void sv_Apply(const std::vector<std::string>& co_Keys, CT_StoryOrder& co_Order);
};
