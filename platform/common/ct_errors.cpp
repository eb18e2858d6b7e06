#include "platform/common/ct_errors.h"

namespace {
struct CT_LastError {
    et_ErrorCode eo_Code = e_NoError;
    CT_String co_Text;
};

// Never destroyed: errors are raised and read by static objects of other libraries while the
// process ends, after this library's own static objects may be gone.
CT_LastError& co_Last() {
    static CT_LastError* pco_last = new CT_LastError();
    return *pco_last;
}
}  // namespace

void CT_Errors::v_ThrowError(et_ErrorCode eo_code, const CT_String& co_text) {
    CT_LastError& co_last = co_Last();
    co_last.co_Text = co_text;
    co_last.eo_Code = eo_code;
    throw eo_code;
}

void CT_Errors::v_ThrowAgain() {
    throw co_Last().eo_Code;
}

et_ErrorCode CT_Errors::set_GetLastError() {
    return co_Last().eo_Code;
}

const CT_String& CT_Errors::cco_GetLastError() {
    return co_Last().co_Text;
}

void CT_Errors::v_ResetError() {
    CT_LastError& co_last = co_Last();
    co_last.eo_Code = e_NoError;
    co_last.co_Text = CT_String();
}
