// The kernel's string table: every message the kernel shows, by number. The table is
// registered with the operating system's part under the kernel's module handle at load.
#pragma once

#include <cstddef>

#include "platform/common/ct_module.h"

extern const CT_StringTableEntry g_KernelStringTable[];
extern const std::size_t gn_KernelStringTableSize;
