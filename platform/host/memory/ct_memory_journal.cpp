#include "platform/host/memory/ct_memory_journal.h"

#include "platform/common/ct_errors.h"

const char* const CT_MemoryJournal::ks_AnyOperation = "*";

void CT_MemoryJournal::v_Enter(const std::string& s_Operation,
                               const std::vector<std::string>& co_Arguments) {
    if (b_Recording) {
        std::string s_Line = s_Operation;
        for (const std::string& s_Argument : co_Arguments) {
            s_Line += ' ';
            s_Line += s_Argument;
        }
        co_JournalLines.push_back(s_Line);
    }
    ++co_Calls[s_Operation];
    ++co_Calls[ks_AnyOperation];

    CT_Fault co_Fault;
    if (b_TakeFault(s_Operation, true, co_Fault) || b_TakeFault(ks_AnyOperation, true, co_Fault)) {
        CT_Errors::v_ThrowError(co_Fault.eo_Code,
                                CT_String(s_Operation + " failed: the host was told to fail it"));
    }
}

bool CT_MemoryJournal::b_IsRefused(const std::string& s_Operation) {
    CT_Fault co_Fault;
    return b_TakeFault(s_Operation, false, co_Fault);
}

void CT_MemoryJournal::v_FailOn(const std::string& s_Operation, unsigned n_Call,
                                et_ErrorCode eo_Code) {
    co_Faults.push_back({s_Operation, co_Calls[s_Operation] + n_Call, eo_Code, true});
}

void CT_MemoryJournal::v_RefuseOn(const std::string& s_Operation, unsigned n_Call) {
    co_Faults.push_back({s_Operation, co_Calls[s_Operation] + n_Call, e_NoError, false});
}

bool CT_MemoryJournal::b_TakeFault(const std::string& s_Operation, bool b_Raise,
                                   CT_Fault& co_Fault) {
    if (co_Faults.empty()) {
        return false;
    }
    const unsigned n_Call = co_Calls[s_Operation];
    for (auto co_It = co_Faults.begin(); co_It != co_Faults.end(); ++co_It) {
        if (co_It->s_Operation == s_Operation && co_It->n_AtCall == n_Call &&
            co_It->b_Raise == b_Raise) {
            co_Fault = *co_It;
            co_Faults.erase(co_It);
            return true;
        }
    }
    return false;
}
