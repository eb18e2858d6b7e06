#include "platform/common/ct_errors.h"

namespace {
thread_local CT_Errors::CT_ThreadScope* tpco_Scope = nullptr;
}  // namespace

CT_Errors::CT_ThreadScope::CT_ThreadScope() : pco_Outer(tpco_Scope) {
    tpco_Scope = this;
}

CT_Errors::CT_ThreadScope::~CT_ThreadScope() {
    tpco_Scope = pco_Outer;
}

// The process-wide one is never destroyed: errors are raised and read by static objects of
// other libraries while the process ends, after this library's own static objects may be gone.
CT_Errors::CT_ThreadScope& CT_Errors::co_Last() {
    if (tpco_Scope != nullptr) {
        return *tpco_Scope;
    }
    static CT_ThreadScope* pco_last = new CT_ThreadScope(CT_ThreadScope::CT_ProcessWide{});
    return *pco_last;
}

void CT_Errors::v_ThrowError(et_ErrorCode eo_code, const CT_String& co_text) {
    CT_ThreadScope& co_last = co_Last();
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
    CT_ThreadScope& co_last = co_Last();
    co_last.eo_Code = e_NoError;
    co_last.co_Text = CT_String();
}
