// The package reader from raw bytes: a broken package is refused with an error, never a crash,
// and one that opens lists its boxes. The package is served from memory (libzip reads the
// buffer in place), so that an execution costs no file system work.
#include <cstdint>
#include <string_view>

#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "platform/host/idml/ct_idml_host.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pc_Data, std::size_t n_Size) {
    const CT_String co_path("/storyport-fuzz.idml");
    CT_Files::sv_ServeFromMemory(co_path,
                                 std::string_view(reinterpret_cast<const char*>(pc_Data), n_Size));
    CT_IdmlHost co_Host;
    try {
        void* p_Document = co_Host.p_Open(co_path, 1);
        co_Host.v_Release(p_Document);
        co_Host.v_GenerateBoxList(0);
        if (!co_Host.b_IsBoxListEmpty()) {
            do {
                void* p_Box = co_Host.p_GetCurrentBox();
                CT_String co_Text;
                co_Host.b_GetContent(co_Text, p_Box, 40, 1, 0);
                co_Host.v_ReleaseBox(p_Box);
            } while (co_Host.b_NextTextBox());
        }
    } catch (et_ErrorCode) {
    }
    CT_Files::sv_ServeFromMemory(CT_String(), std::string_view());
    CT_Errors::v_ResetError();
    return 0;
}
