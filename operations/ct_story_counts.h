// The counts of the storyport list: for every story of a story order, the words and characters
// a translator is paid for and how many of them repeat text met earlier in the order, counted on
// the tagged content the export writes (as the IDML host gives it), and their totals.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "exchange/ct_document_count.h"

class CT_IdmlHost;
class CT_StoryOrder;

class CT_StoryCounts {
  public:
    // Walks the order (its cursor moves) over the host's active document. Stories the document
    // lacks count as empty. Stories
    // for which b_GoesOut is false (listed although left out of the export) are counted alone:
    // nobody pays for them, so they stay out of the totals and of the repeats.
    CT_StoryCounts(const CT_IdmlHost& co_Host, CT_StoryOrder& co_Order,
                   const std::function<bool(const std::string&)>& b_GoesOut = {});

    // Zero counts for a key that is not in the order.
    CT_StoryTally co_Get(const std::string& s_Key) const;
    const CT_StoryTally& co_GetTotal() const { return co_Total; }

  private:
    std::map<std::string, CT_StoryTally> co_ByKey;
    CT_StoryTally co_Total;
};
