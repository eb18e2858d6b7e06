// Text looked at eight bytes at a time: the bytes in one number, the first lowest, and tests
// that mark bytes by their high bit. Where a test may mark a byte wrongly, it is only ever one
// after a byte rightly marked, so the first mark in the text's order is exact. Stateless.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

class CT_EightBytes {
  public:
    static constexpr std::uint64_t kn_Ones = 0x0101010101010101ull;
    static constexpr std::uint64_t kn_Highs = 0x8080808080808080ull;

    // The eight bytes at pc_At, the first in the lowest byte whatever the machine's order.
    static std::uint64_t sn_Load(const char* pc_At) {
        std::uint64_t n_eight = 0;
        std::memcpy(&n_eight, pc_At, sizeof n_eight);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
        n_eight = __builtin_bswap64(n_eight);
#endif
        return n_eight;
    }
    // The bytes below n_Bound (at most 0x80); a byte after one below may be marked too, as the
    // subtraction borrows from it.
    static std::uint64_t sn_Below(std::uint64_t n_Eight, unsigned n_Bound) {
        return (n_Eight - kn_Ones * n_Bound) & ~n_Eight & kn_Highs;
    }
    static std::uint64_t sn_Equal(std::uint64_t n_Eight, unsigned char c_Byte) {
        return sn_Below(n_Eight ^ (kn_Ones * c_Byte), 1);
    }
    // How many bytes come before the first marked one; 8 when none is.
    static std::size_t sn_BeforeFirst(std::uint64_t n_Marks) {
        return n_Marks == 0 ? 8 : static_cast<std::size_t>(__builtin_ctzll(n_Marks)) / 8;
    }
};
