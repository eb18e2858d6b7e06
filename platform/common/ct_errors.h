// Raising and remembering errors. Every error is an exception of type et_ErrorCode; the code
// and a text are kept as the last error so that whoever catches the code can report the text.
// The last error is process-wide state, used from one thread at a time, except on a thread that
// holds a CT_ThreadScope: there it is that thread's own.
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

    // While one lives, the errors raised and read on its thread are kept in it, so that worker
    // threads raising errors at the same time neither race nor overwrite each other's texts.
    // Scopes nest; each is the innermost one's until it goes.
    class CT_ThreadScope {
      public:
        CT_ThreadScope();
        ~CT_ThreadScope();
        CT_ThreadScope(const CT_ThreadScope&) = delete;
        CT_ThreadScope& operator=(const CT_ThreadScope&) = delete;

      private:
        friend class CT_Errors;
        struct CT_ProcessWide {};
        explicit CT_ThreadScope(CT_ProcessWide) : pco_Outer(nullptr) {}

        et_ErrorCode eo_Code = e_NoError;
        CT_String co_Text;
        CT_ThreadScope* pco_Outer;
    };

  private:
    static CT_ThreadScope& co_Last();
};
