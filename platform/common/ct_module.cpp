#include "platform/common/ct_module.h"

#include <map>
#include <string>

namespace {
struct CT_Table {
    const CT_StringTableEntry* pco_Entries;
    std::size_t n_Count;
};

// Never destroyed: libraries unregister their tables while the process ends, after this
// library's own static objects may be gone.
std::map<CT_ModuleHandle, CT_Table>& co_Tables() {
    static auto* pco_tables = new std::map<CT_ModuleHandle, CT_Table>();
    return *pco_tables;
}

const char* pc_Find(CT_ModuleHandle p_module, unsigned n_id) {
    auto co_it = co_Tables().find(p_module);
    if (co_it == co_Tables().end()) {
        return nullptr;
    }
    const CT_Table& co_table = co_it->second;
    for (std::size_t n = 0; n < co_table.n_Count; ++n) {
        if (co_table.pco_Entries[n].n_Id == n_id) {
            return co_table.pco_Entries[n].pc_Text;
        }
    }
    return nullptr;
}

// Decodes one UTF-8 sequence at the index and moves past it. A malformed or overlong
// sequence, a surrogate or a value past U+10FFFF gives U+FFFD for its first byte.
char32_t c_NextCodePoint(const std::string& co_text, std::size_t& n_at) {
    const auto n_lead = static_cast<unsigned char>(co_text[n_at++]);
    if (n_lead < 0x80) {
        return n_lead;
    }
    int i_more = n_lead >= 0xF0 ? 3 : n_lead >= 0xE0 ? 2 : n_lead >= 0xC0 ? 1 : -1;
    if (i_more < 0 || n_lead > 0xF4) {
        return 0xFFFD;
    }
    char32_t c_value = n_lead & (0x3F >> i_more);
    std::size_t n_next = n_at;
    for (int i = 0; i < i_more; ++i, ++n_next) {
        if (n_next >= co_text.size() || (co_text[n_next] & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        c_value = (c_value << 6) | (co_text[n_next] & 0x3F);
    }
    static const char32_t sc_least[] = {0, 0x80, 0x800, 0x10000};
    if (c_value < sc_least[i_more] || c_value > 0x10FFFF ||
        (c_value >= 0xD800 && c_value <= 0xDFFF)) {
        return 0xFFFD;
    }
    n_at = n_next;
    return c_value;
}
}  // namespace

void CT_Module::sv_Register(CT_ModuleHandle p_Module, const CT_StringTableEntry* pco_Entries,
                            std::size_t n_Count) {
    co_Tables()[p_Module] = CT_Table{pco_Entries, n_Count};
}

void CT_Module::sv_Unregister(CT_ModuleHandle p_Module) {
    co_Tables().erase(p_Module);
}

int CT_Module::sb_LoadString(CT_ModuleHandle p_Module, unsigned n_Id, CT_String& co_Text) {
    const char* pc_text = pc_Find(p_Module, n_Id);
    co_Text = pc_text == nullptr ? "" : pc_text;
    return pc_text != nullptr;
}

int CT_Module::si_LoadWideString(CT_ModuleHandle p_Module, unsigned n_Id, char16_t* puz_Buffer,
                                 int i_Capacity) {
    if (puz_Buffer == nullptr || i_Capacity <= 0) {
        return 0;
    }
    const char* pc_text = pc_Find(p_Module, n_Id);
    const std::string co_text = pc_text == nullptr ? std::string() : std::string(pc_text);
    const std::size_t n_room = static_cast<std::size_t>(i_Capacity) - 1;
    std::size_t n_units = 0;
    std::size_t n_at = 0;
    while (n_at < co_text.size()) {
        char32_t c_value = c_NextCodePoint(co_text, n_at);
        if (c_value < 0x10000) {
            if (n_units + 1 > n_room) {
                break;
            }
            puz_Buffer[n_units++] = static_cast<char16_t>(c_value);
            continue;
        }
        // A pair that does not fit whole is left out whole.
        if (n_units + 2 > n_room) {
            break;
        }
        c_value -= 0x10000;
        puz_Buffer[n_units++] = static_cast<char16_t>(0xD800 + (c_value >> 10));
        puz_Buffer[n_units++] = static_cast<char16_t>(0xDC00 + (c_value & 0x3FF));
    }
    puz_Buffer[n_units] = 0;
    return static_cast<int>(n_units);
}
