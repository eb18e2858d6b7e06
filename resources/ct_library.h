// The kernel library's entry point and its module handle. The loader calls the entry point
// with the attach notification when the shared library is loaded and with the detach
// notification when it is unloaded; every message of the string table is loaded with the
// handle kept at attach.
#pragma once

#include "platform/common/ct_module.h"

enum et_LibraryReason : unsigned {
    e_ProcessDetach = 0,
    e_ProcessAttach = 1,
};

class CT_Library {
  public:
    // Keeps the handle on attach; reports success (1) for every notification.
    static int sb_EntryPoint(CT_ModuleHandle p_Module, et_LibraryReason eo_Reason);
    // The kernel's module handle; null before the library is attached.
    static CT_ModuleHandle sp_GetModule();
};
