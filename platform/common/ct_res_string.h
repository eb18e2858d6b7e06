// One message of a module's string table, with a placeholder marker that callers fill with a
// text or a decimal number. An id of 0 (or an id the table lacks) gives an empty text.
#pragma once

#include "platform/common/ct_module.h"
#include "platform/common/ct_string.h"

class CT_ResString {
  public:
    CT_ResString(CT_ModuleHandle p_Module, unsigned n_Id, const char* pc_Marker = "%");

    // The held text, marker unreplaced.
    const CT_String& cco_Get() const;
    // A copy of the held text with the first marker replaced by the text or the number.
    CT_String cco_Get(const char* pc_Text) const;
    CT_String cco_Get(unsigned n_Number) const;
    // Loads another entry of the same module.
    void v_Set(unsigned n_Id, const char* pc_Marker = "%");
    // Replaces the marker in the held text by the number. The last two arguments are not used.
    void v_Fix(unsigned n_Number, const CT_String& co_Unused, int i_Unused);

  private:
    CT_ModuleHandle p_Module;
    CT_String co_Marker;
    CT_String co_Text;
};
