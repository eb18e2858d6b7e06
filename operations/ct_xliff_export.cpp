#include "operations/ct_xliff_export.h"

#include "operations/ct_session.h"

CT_XliffExport::CT_XliffExport(CT_Session& co_Session, const std::string& s_Target) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    if (!CT_Session::sb_IsXliff(co_options, s_Target)) {
        return;
    }
    CT_XliffWriter::CT_Options co_xliff;
    co_xliff.co_SourceLanguage = co_options.s_SourceLanguage;
    co_xliff.co_TargetLanguage = co_options.s_TargetLanguage;
    co_xliff.b_Targets = !co_options.b_NoTarget;
    co_xliff.b_AllCodes = co_options.s_Codes == "all";
    co_xliff.b_Limits = !co_options.b_NoLimits;
    co_Format.v_SetTaggedTextFormat(CT_StoryFormatSettings::e_QuarvelTaggedText);
    pco_Converter = std::make_unique<CT_XliffConverter>(co_Session.co_GetHost(), co_xliff,
                                                        co_Session.n_Threads());
}
