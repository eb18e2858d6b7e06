// A set of texts that only grows, for telling whether a text was met before among many (every
// unit of a large document). It keeps no copy of a text: it remembers each by its length and
// two unrelated 64-bit hashes, so that its memory does not grow with the texts' length and it
// needs no allocation per text. Two different texts are taken for equal only if both hashes
// and the length agree: for a million texts, a chance of about one in 10^25.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class CT_TextSet {
  public:
    // Adds the text; false when it was in the set already.
    bool b_Insert(std::string_view co_Text);
    std::size_t n_Size() const { return n_Count; }

  private:
    struct ct_Slot {
        std::uint64_t n_Hash = 0;
        std::uint64_t n_Check = 0;        // the second hash
        std::size_t n_LengthPlusOne = 0;  // 0: the slot is free
    };

    void v_Grow();

    std::vector<ct_Slot> co_Slots;  // a power of two in size, at most half of them used
    std::size_t n_Count = 0;
};
