// The order of a document's XML structure: the stories its structure tags, in the order of its
// tree, each anchored story right after its holder; the stories it leaves untagged after them,
// in reading order. A plain sequence of keys, handed to the kernel as a custom arrangement.
#pragma once

#include <string>
#include <vector>

#include "reading/ct_reading_layout.h"

class CT_StructureOrder {
  public:
    // co_Tagged: the tagged stories in tree order (empty when the document has no structure,
    // which leaves the reading order as it is).
    CT_StructureOrder(const std::vector<std::string>& co_Tagged, const CT_ReadingLayout& co_Layout);

    const std::vector<std::string>& co_GetKeys() const { return co_Keys; }

  private:
    std::vector<std::string> co_Keys;
};
