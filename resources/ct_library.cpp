#include "resources/ct_library.h"

#include <dlfcn.h>

#include "resources/ct_string_table.h"

namespace {
CT_ModuleHandle gp_Module = nullptr;

// The module handle is the address the loader mapped the library at, as the loader reports it
// for any symbol of the library.
CT_ModuleHandle p_FindOwnModule() {
    Dl_info co_info{};
    if (dladdr(reinterpret_cast<const void*>(&CT_Library::sp_GetModule), &co_info) == 0) {
        return &gp_Module;
    }
    return co_info.dli_fbase;
}

// Runs before the library's other static objects are built, so that they can load messages.
__attribute__((constructor(101))) void v_OnLoad() {
    CT_ModuleHandle p_module = p_FindOwnModule();
    CT_Module::sv_Register(p_module, g_KernelStringTable, gn_KernelStringTableSize);
    CT_Library::sb_EntryPoint(p_module, e_ProcessAttach);
}

__attribute__((destructor(101))) void v_OnUnload() {
    CT_ModuleHandle p_module = CT_Library::sp_GetModule();
    CT_Library::sb_EntryPoint(p_module, e_ProcessDetach);
    CT_Module::sv_Unregister(p_module);
}
}  // namespace

int CT_Library::sb_EntryPoint(CT_ModuleHandle p_Module, et_LibraryReason eo_Reason) {
    if (eo_Reason == e_ProcessAttach) {
        gp_Module = p_Module;
    }
    return 1;
}

CT_ModuleHandle CT_Library::sp_GetModule() {
    return gp_Module;
}
