#include "platform/common/ct_res_string.h"

CT_ResString::CT_ResString(CT_ModuleHandle p_Module, unsigned n_Id, const char* pc_Marker)
    : p_Module(p_Module) {
    v_Set(n_Id, pc_Marker);
}

const CT_String& CT_ResString::cco_Get() const {
    return co_Text;
}

CT_String CT_ResString::cco_Get(const char* pc_Text) const {
    CT_String co_result(co_Text);
    co_result.v_Replace(co_Marker, pc_Text);
    return co_result;
}

CT_String CT_ResString::cco_Get(unsigned n_Number) const {
    const CT_String co_digits = CT_String() + n_Number;
    return cco_Get(static_cast<const char*>(co_digits));
}

void CT_ResString::v_Set(unsigned n_Id, const char* pc_Marker) {
    co_Marker = pc_Marker;
    co_Text = CT_String();
    if (n_Id == 0) {
        return;
    }
    CT_Module::sb_LoadString(p_Module, n_Id, co_Text);
}

void CT_ResString::v_Fix(unsigned n_Number, const CT_String&, int) {
    co_Text.v_Replace(co_Marker, CT_String() + n_Number);
}
