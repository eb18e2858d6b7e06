#include "platform/common/ct_module.h"

#include <map>
#include <string>

#include "platform/common/ct_utf8.h"

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
    bool b_cut = false;
    // A pair that does not fit whole is left out whole.
    const std::size_t n_units =
        CT_Utf8::sn_ToUtf16(pc_text == nullptr ? "" : pc_text, puz_Buffer,
                            static_cast<std::size_t>(i_Capacity) - 1, b_cut);
    puz_Buffer[n_units] = 0;
    return static_cast<int>(n_units);
}
