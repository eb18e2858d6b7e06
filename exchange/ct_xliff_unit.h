// One <trans-unit> of an XLIFF file as read: its id and what the id says (story and number),
// where it stands, its source and target as tagged tokens and what the translator's tool says
// of it. A plain record owned by the reader that made it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "exchange/ct_tagged_token.h"

struct CT_XliffUnit {
    std::string co_Id;
    std::string co_Key;        // the story: the id up to its last "."
    std::size_t n_Number = 0;  // the unit's number in its story; 0 when the id has none
    std::size_t n_Line = 0;    // of its start tag; 0 when not known
    bool b_Target = false;
    bool b_NoTranslate = false;  // translate="no"
    bool b_Approved = false;     // approved="yes"
    std::string co_State;        // the target's state
    std::vector<CT_TaggedToken> co_Source;
    std::vector<CT_TaggedToken> co_Target;
    std::string co_Fault;         // why its content cannot be read; empty when it can
    std::size_t n_FaultLine = 0;  // where the fault stands, when not on n_Line
};
