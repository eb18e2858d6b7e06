#include "operations/ct_import_gate.h"

#include "operations/ct_import_preflight.h"
#include "operations/ct_session.h"
#include "operations/ct_tagged_file.h"
#include "platform/common/ct_string.h"

bool CT_ImportGate::sb_Admit(CT_Session& co_Session, const CT_TaggedFile& co_File,
                             CT_StoryOrder& co_Order, const std::string& s_Document) {
    const CT_ImportPreflight co_preflight(co_File, co_Order);
    for (const std::string& s_warning : co_preflight.co_GetWarnings()) {
        co_Session.v_LogLine(s_warning);
    }
    if (!co_preflight.b_Differs() || co_Session.co_GetOptions().b_AllowDifferences) {
        return true;
    }
    co_Session.v_LogError(CT_String(
        (co_File.s_GetPath() + " and " + s_Document +
         " do not hold the same stories: nothing was imported (--allow-differences imports "
         "all the same)")
            .c_str()));
    return false;
}
