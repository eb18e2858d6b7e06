// The settings file reader: any bytes give settings or an error, never a crash.
#include <cstdint>

#include "fuzz/ct_fuzz_file.h"
#include "platform/common/ct_errors.h"
#include "settings/ct_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pc_Data, std::size_t n_Size) {
    static const CT_FuzzFile sco_File(".settings");
    CT_Settings co_Settings(CT_String(sco_File.s_Write(pc_Data, n_Size).c_str()));
    try {
        co_Settings.v_Load();
    } catch (et_ErrorCode) {
    }
    CT_Errors::v_ResetError();
    return 0;
}
