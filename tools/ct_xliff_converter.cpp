#include "tools/ct_xliff_converter.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "exchange/ct_tagged_file.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "platform/host/ct_progress_listener.h"
#include "tools/ct_xliff_codes.h"

namespace {
std::string s_ReadAll(const CT_String& co_Path) {
    std::ifstream co_in(std::string(co_Path.sv()), std::ios::binary);
    std::string s_all((std::istreambuf_iterator<char>(co_in)), std::istreambuf_iterator<char>());
    if (!co_in.good() && !co_in.eof()) {
        CT_Errors::v_ThrowError(e_FileRead, CT_String("cannot read ") + co_Path);
    }
    return s_all;
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

int CT_XliffConverter::b_Convert(const CT_String& co_TaggedPath, const CT_String& co_TargetPath,
                                 const CT_String& co_DocumentName) {
    CT_XliffWriter::CT_Options co_options = co_Options;
    co_options.co_Original = std::string(co_DocumentName.sv());
    CT_XliffWriter co_writer(co_options);
    std::vector<CT_TaggedStory> co_stories;
    try {
        co_stories = CT_TaggedStoryFile::sco_Read(s_ReadAll(co_TaggedPath));
    } catch (const std::invalid_argument& co_error) {
        CT_Errors::v_ThrowError(e_BadContent, CT_String(co_error.what()));
    }
    for (const CT_TaggedStory& co_story : co_stories) {
        if (CT_ProgressListener::sb_IsCancel()) {
            return 1;
        }
        const std::vector<CT_IdmlStoryCodeInfo>* pco_infos =
            co_Host.pco_ExportedCodes(co_story.co_Key);
        try {
            co_writer.v_AddStory(co_story.co_Key, co_story.co_Location, co_story.co_Content,
                                 pco_infos != nullptr ? CT_XliffCodes::sco_From(*pco_infos)
                                                      : CT_StoryLayout::CT_Codes());
        } catch (const std::invalid_argument& co_error) {
            CT_Errors::v_ThrowError(
                e_BadContent,
                CT_String(("story " + co_story.co_Key + ": " + co_error.what()).c_str()));
        }
    }
    const std::string s_xliff = co_writer.s_Finish();
    CT_Files co_target;
    co_target.v_Open(co_TargetPath, e_OpenWrite, 1);
    co_target.v_Write(s_xliff.data(), s_xliff.size());
    co_target.v_Close();
    return 0;
}
