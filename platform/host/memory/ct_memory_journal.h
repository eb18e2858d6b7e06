// The memory host's record of calls: one readable line per call, and the faults a test plans
// for chosen calls. A planned fault either raises an error (v_FailOn) or makes the call report
// failure through its result (v_RefuseOn); both count calls per operation from the moment they
// are planned.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/common/ct_error_code.h"

class CT_MemoryJournal {
  public:
    // Records "<operation> <arguments>" and counts the call; raises the planned error when this
    // call of the operation was told to fail.
    void v_Enter(const std::string& s_Operation, const std::vector<std::string>& co_Arguments);
    // True when the call just entered was told to report failure.
    bool b_IsRefused(const std::string& s_Operation);

    // The operation "*" (ks_AnyOperation) counts the calls of every operation.
    void v_FailOn(const std::string& s_Operation, unsigned n_Call, et_ErrorCode eo_Code);
    static const char* const ks_AnyOperation;
    void v_RefuseOn(const std::string& s_Operation, unsigned n_Call);

    const std::vector<std::string>& co_Lines() const { return co_JournalLines; }
    void v_Clear() { co_JournalLines.clear(); }
    // With recording off no lines are kept; calls are still counted for planned faults.
    void v_SetRecording(bool b_On) { b_Recording = b_On; }

  private:
    struct CT_Fault {
        std::string s_Operation;
        unsigned n_AtCall;  // the operation's call count that triggers the fault
        et_ErrorCode eo_Code;
        bool b_Raise;
    };

    bool b_TakeFault(const std::string& s_Operation, bool b_Raise, CT_Fault& co_Fault);

    std::vector<std::string> co_JournalLines;
    bool b_Recording = true;
    std::map<std::string, unsigned> co_Calls;
    std::vector<CT_Fault> co_Faults;
};
