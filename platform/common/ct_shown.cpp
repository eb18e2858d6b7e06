#include "platform/common/ct_shown.h"

namespace {
// How many of the bytes before n_At to keep so as not to cut a UTF-8 character in two.
std::size_t n_CharacterStart(std::string_view co_Text, std::size_t n_At) {
    while (n_At > 0 && n_At < co_Text.size() &&
           (static_cast<unsigned char>(co_Text[n_At]) & 0xC0) == 0x80) {
        --n_At;
    }
    return n_At;
}
}  // namespace

std::string CT_Shown::ss_Value(std::string_view co_Value, std::size_t n_Max) {
    if (co_Value.size() <= n_Max) {
        return std::string(co_Value);
    }
    return std::string(co_Value.substr(0, n_CharacterStart(co_Value, n_Max))) + "... (" +
           std::to_string(co_Value.size()) + " bytes)";
}

std::string CT_Shown::ss_Line(std::string_view co_Line, std::size_t n_Max) {
    if (co_Line.size() <= n_Max) {
        return std::string(co_Line);
    }
    const std::size_t n_head = n_CharacterStart(co_Line, n_Max * 3 / 4);
    const std::size_t n_tail = n_CharacterStart(co_Line, co_Line.size() - n_Max / 4);
    return std::string(co_Line.substr(0, n_head)) + "... (" + std::to_string(n_tail - n_head) +
           " bytes) ..." + std::string(co_Line.substr(n_tail));
}
