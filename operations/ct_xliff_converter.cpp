#include "operations/ct_xliff_converter.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "exchange/ct_tagged_file.h"
#include "operations/ct_document_language.h"
#include "operations/ct_xliff_codes.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "platform/host/ct_progress_listener.h"

namespace {
std::string s_ReadAll(const CT_String& co_Path) {
    std::ifstream co_in(std::string(co_Path.sv()), std::ios::binary | std::ios::ate);
    const std::streamoff n_size = co_in ? static_cast<std::streamoff>(co_in.tellg()) : -1;
    std::string s_all(n_size > 0 ? static_cast<std::size_t>(n_size) : 0, '\0');
    co_in.seekg(0);
    if (n_size < 0 || !co_in.read(s_all.data(), static_cast<std::streamsize>(s_all.size()))) {
        CT_Errors::v_ThrowError(e_FileRead, CT_String("cannot read ") + co_Path);
    }
    return s_all;
}

// "layer Text": where a translator finds the story in the layout, besides its page.
std::string s_Where(const CT_IdmlBox* pco_Box) {
    return pco_Box != nullptr && !pco_Box->s_Layer.empty() ? "layer " + pco_Box->s_Layer
                                                           : std::string();
}
}  // namespace

CT_XliffConverter::CT_XliffConverter(const CT_IdmlHost& co_Host,
                                     const CT_XliffWriter::CT_Options& co_Options)
    : co_Host(co_Host), co_Options(co_Options) {
    CT_TaggedConverter::sv_Install(this);
}

CT_XliffConverter::~CT_XliffConverter() {
    CT_TaggedConverter::sv_Install(nullptr);
}

// The XLIFF file goes to the target's temporary file as it is written; it takes the target's
// place only when every story is in, and a cancel or an error leaves the target as it was.
int CT_XliffConverter::b_Convert(const CT_String& co_TaggedPath, const CT_String& co_TargetPath,
                                 const CT_String& co_DocumentName) {
    const std::string s_tagged = s_ReadAll(co_TaggedPath);
    CT_XliffWriter::CT_Options co_options = co_Options;
    co_options.co_Original = std::string(co_DocumentName.sv());
    if (co_options.co_SourceLanguage.empty()) {
        co_options.co_SourceLanguage = CT_DocumentLanguage::ss_Of(co_Host.cco_GetActiveDocument());
    }
    if (co_options.co_SourceLanguage.empty()) {
        co_options.co_SourceLanguage = "en";
    }
    CT_Files co_target;
    co_target.v_Open(co_TargetPath, e_OpenWrite, 1);
    CT_XliffWriter co_writer(co_options, [&co_target](std::string_view co_Bytes) {
        co_target.v_Write(co_Bytes.data(), co_Bytes.size());
    });
    bool b_cancelled = false;
    std::string s_key;
    try {
        CT_TaggedStoryFile::sv_ForEach(s_tagged, [&](std::string_view co_Key,
                                                     std::string_view co_Location,
                                                     std::string_view co_Content) {
            b_cancelled = b_cancelled || CT_ProgressListener::sb_IsCancel();
            if (b_cancelled) {
                return;
            }
            s_key = co_Key;
            const std::vector<CT_IdmlStoryCodeInfo>* pco_infos = co_Host.pco_ExportedCodes(s_key);
            CT_XliffWriter::CT_Context co_context;
            co_context.co_Where = s_Where(co_Host.pco_FindListed(s_key));
            if (pco_infos != nullptr && !pco_infos->empty()) {
                co_context.co_Styles = pco_infos->front().co_ParagraphStyles;
            }
            co_writer.v_AddStory(s_key, co_Location, co_Content,
                                 pco_infos != nullptr ? CT_XliffCodes::sco_From(*pco_infos)
                                                      : CT_StoryLayout::CT_Codes(),
                                 co_context);
            s_key.clear();
        });
    } catch (const std::invalid_argument& co_error) {
        const std::string s_where = s_key.empty() ? std::string() : "story " + s_key + ": ";
        CT_Errors::v_ThrowError(e_BadContent, CT_String((s_where + co_error.what()).c_str()));
    }
    if (b_cancelled) {
        co_target.v_Cancel();
        return 1;
    }
    co_writer.s_Finish();
    co_target.v_Close();
    return 0;
}
