// Raising and remembering errors. Every error is an exception of type et_ErrorCode; the code
// and a text are kept as the last error so that whoever catches the code can report the text.
// The last error is process-wide state, used from one thread at a time.
#pragma once

#include "platform/common/ct_error_code.h"
#include "platform/common/ct_string.h"

class CT_Errors {
  public:
    // Records code and text as the last error, then throws the code.
    [[noreturn]] static void v_ThrowError(et_ErrorCode eo_code, const CT_String& co_text);
    // Throws the last error's code again; the recorded text stays.
    [[noreturn]] static void v_ThrowAgain();
    static et_ErrorCode set_GetLastError();
    static const CT_String& cco_GetLastError();
    // Forgets the last error: code e_NoError, empty text.
    static void v_ResetError();
};
