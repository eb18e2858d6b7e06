// The operating system's part: string tables of loaded modules. A module registers its table
// under its module handle when it is loaded; messages are then loaded by handle and number, as
// narrow UTF-8 text or as 16-bit text into a caller's buffer of given capacity.
#pragma once

#include <cstddef>

#include "platform/common/ct_string.h"

using CT_ModuleHandle = const void*;

struct CT_StringTableEntry {
    unsigned n_Id;
    const char* pc_Text;  // UTF-8
};

class CT_Module {
  public:
    // The table is not copied: it must outlive the registration.
    static void sv_Register(CT_ModuleHandle p_Module, const CT_StringTableEntry* pco_Entries,
                            std::size_t n_Count);
    static void sv_Unregister(CT_ModuleHandle p_Module);
    // 1 and the text when the module's table holds the entry; 0 and an empty text otherwise.
    static int sb_LoadString(CT_ModuleHandle p_Module, unsigned n_Id, CT_String& co_Text);
    // Copies at most n_Capacity - 1 UTF-16 units of the entry and a terminator into the buffer,
    // never splitting a surrogate pair; returns the number of units copied, 0 when the entry is
    // missing (the buffer then holds an empty string) or the capacity is 0 (nothing written).
    static int si_LoadWideString(CT_ModuleHandle p_Module, unsigned n_Id, char16_t* puz_Buffer,
                                 int i_Capacity);
};
