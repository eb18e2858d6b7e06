#include "operations/ct_export_batch_action.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/common/ct_errors.h"

int CT_ExportBatchAction::b_Execute(const CT_String& co_TaggedFile, CT_ProcessData& co_Data) {
    const std::string s_file =
        co_Folder.s_FileOf(co_TaggedFile.sv(), std::string(pco_Document->co_GetFilePath().sv()));
    // A document found in a subfolder has its file in the same subfolder of the batch's.
    const std::filesystem::path co_parent = std::filesystem::path(s_file).parent_path();
    std::error_code co_error;
    if (!co_parent.empty() && !std::filesystem::is_directory(co_parent, co_error)) {
        std::filesystem::create_directories(co_parent, co_error);
        if (co_error) {
            CT_Errors::v_ThrowError(e_FileWrite,
                                    CT_String(("cannot make the folder \"" + co_parent.string() +
                                               "\": " + co_error.message())
                                                  .c_str()));
        }
    }
    return pco_Document->b_Export(CT_String(s_file.c_str()), co_Data);
}
