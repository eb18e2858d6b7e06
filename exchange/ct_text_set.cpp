#include "exchange/ct_text_set.h"

#include <cstring>
#include <functional>

namespace {
constexpr std::size_t kn_FirstSlots = 1024;

std::uint64_t n_Mix(std::uint64_t n) {
    n ^= n >> 33;
    n *= 0xFF51AFD7ED558CCDull;
    n ^= n >> 33;
    n *= 0xC4CEB9FE1A85EC53ull;
    return n ^ (n >> 33);
}

// A hash unrelated to the standard library's: eight bytes at a time, each folded in by a
// multiplication, the length and a final mix spreading every bit.
std::uint64_t n_CheckHash(std::string_view co_Text) {
    std::uint64_t n_hash = 0x9E3779B97F4A7C15ull ^ co_Text.size();
    std::size_t n = 0;
    for (; n + 8 <= co_Text.size(); n += 8) {
        std::uint64_t n_word = 0;
        std::memcpy(&n_word, co_Text.data() + n, 8);
        n_hash = (n_hash ^ n_Mix(n_word)) * 0x100000001B3ull;
    }
    std::uint64_t n_tail = 0;
    if (n < co_Text.size()) {
        std::memcpy(&n_tail, co_Text.data() + n, co_Text.size() - n);
    }
    return n_Mix(n_hash ^ n_Mix(n_tail + 1));
}
}  // namespace

bool CT_TextSet::b_Insert(std::string_view co_Text) {
    if ((n_Count + 1) * 2 > co_Slots.size()) {
        v_Grow();
    }
    const ct_Slot co_new{std::hash<std::string_view>()(co_Text), n_CheckHash(co_Text),
                         co_Text.size() + 1};
    const std::size_t n_mask = co_Slots.size() - 1;
    for (std::size_t n = co_new.n_Hash & n_mask;; n = (n + 1) & n_mask) {
        ct_Slot& co_slot = co_Slots[n];
        if (co_slot.n_LengthPlusOne == 0) {
            co_slot = co_new;
            ++n_Count;
            return true;
        }
        if (co_slot.n_Hash == co_new.n_Hash && co_slot.n_Check == co_new.n_Check &&
            co_slot.n_LengthPlusOne == co_new.n_LengthPlusOne) {
            return false;
        }
    }
}

void CT_TextSet::v_Grow() {
    std::vector<ct_Slot> co_old(co_Slots.empty() ? kn_FirstSlots : co_Slots.size() * 2);
    co_old.swap(co_Slots);  // co_Slots is the larger, free table now
    const std::size_t n_mask = co_Slots.size() - 1;
    for (const ct_Slot& co_slot : co_old) {
        if (co_slot.n_LengthPlusOne == 0) {
            continue;
        }
        std::size_t n = co_slot.n_Hash & n_mask;
        while (co_Slots[n].n_LengthPlusOne != 0) {
            n = (n + 1) & n_mask;
        }
        co_Slots[n] = co_slot;
    }
}
