#include "platform/common/ct_parallel_utf8.h"

#include <algorithm>
#include <vector>

#include "platform/common/ct_utf8.h"
#include "platform/common/ct_work_pool.h"

std::size_t CT_ParallelUtf8::sn_FirstInvalid(std::string_view co_Text, unsigned n_Threads,
                                             std::size_t n_Piece) {
    n_Piece = std::max<std::size_t>(n_Piece, 1);
    if (n_Threads <= 1 || co_Text.size() <= n_Piece) {
        return CT_Utf8::sn_FirstInvalid(co_Text);
    }
    // A piece starts at a byte that is no continuation byte (10xxxxxx): a well-formed sequence
    // never reaches over such a byte, so checking from there finds what checking from the start
    // finds there, and a sequence cut short at a piece's end is ill-formed in the whole text too.
    std::vector<std::size_t> co_starts = {0};
    for (std::size_t n_at = n_Piece; n_at < co_Text.size(); n_at += n_Piece) {
        std::size_t n_start = std::max(n_at, co_starts.back() + 1);
        while (n_start < co_Text.size() &&
               (static_cast<unsigned char>(co_Text[n_start]) & 0xC0) == 0x80) {
            ++n_start;
        }
        if (n_start < co_Text.size()) {
            co_starts.push_back(n_start);
        }
    }
    co_starts.push_back(co_Text.size());
    std::vector<std::size_t> co_first(co_starts.size() - 1, std::string_view::npos);
    std::vector<std::size_t> co_tickets;
    CT_WorkPool co_pool(n_Threads);
    for (std::size_t n = 0; n + 1 < co_starts.size(); ++n) {
        co_tickets.push_back(co_pool.n_Give([&co_Text, &co_starts, &co_first, n]() {
            const std::size_t n_bad = CT_Utf8::sn_FirstInvalid(
                co_Text.substr(co_starts[n], co_starts[n + 1] - co_starts[n]));
            co_first[n] = n_bad == std::string_view::npos ? n_bad : co_starts[n] + n_bad;
        }));
    }
    for (const std::size_t n_ticket : co_tickets) {
        co_pool.v_Wait(n_ticket);
    }
    for (const std::size_t n_bad : co_first) {
        if (n_bad != std::string_view::npos) {
            return n_bad;
        }
    }
    return std::string_view::npos;
}
