// The settings file reader: any bytes give settings or an error, never a crash. The file is
// served from memory, so that an execution costs no file system work.
#include <cstdint>
#include <string_view>

#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "settings/ct_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pc_Data, std::size_t n_Size) {
    const CT_String co_path("/storyport-fuzz.settings");
    CT_Files::sv_ServeFromMemory(co_path,
                                 std::string_view(reinterpret_cast<const char*>(pc_Data), n_Size));
    CT_Settings co_Settings(co_path);
    try {
        co_Settings.v_Load();
    } catch (et_ErrorCode) {
    }
    CT_Files::sv_ServeFromMemory(CT_String(), std::string_view());
    CT_Errors::v_ResetError();
    return 0;
}
