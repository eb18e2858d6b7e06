// The import of a tagged story file from strangers: the file, the key reader and the content
// the host takes. Whatever the bytes, the import ends with a log and no handle left given out.
// The tagged file is served from memory and the host is the memory host, so that an execution
// costs no file system work.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>

#include "document/ct_document.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "platform/host/ct_host.h"
#include "platform/host/memory/ct_memory_host.h"

namespace {
CT_MemoryBox co_Box(const char* pc_Key, int i_Y) {
    CT_MemoryBox co_box;
    co_box.s_Key = pc_Key;
    co_box.i_Y = i_Y;
    co_box.s_Content = "text";
    return co_box;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pc_Data, std::size_t n_Size) {
    const CT_String co_path("/d.mtt");
    CT_Files::sv_ServeFromMemory(co_path,
                                 std::string_view(reinterpret_cast<const char*>(pc_Data), n_Size));
    {
        CT_MemoryHost co_Host;
        co_Host.v_SetJournaling(false);
        CT_Host::sv_Install(&co_Host);
        co_Host.v_PutDocument("/d.indd", {co_Box("A", 0), co_Box("B", 10), co_Box("C", 20)});
        std::ostringstream co_Out;
        CT_LogStream co_Log(co_Out);
        CT_StoryListSettings co_Settings;
        CT_StoryFormatSettings co_Format;
        CT_ProcessData co_Data(co_Log, co_Format, CT_String("Fuzz"));
        try {
            CT_Document::sb_Import("/d.indd", co_path, co_Settings, co_Data);
        } catch (et_ErrorCode) {
        }
        if (co_Host.n_LiveBoxHandles() != 0 || co_Host.n_LiveDocumentHandles() != 0) {
            std::abort();
        }
    }
    CT_Files::sv_ServeFromMemory(CT_String(), std::string_view());
    CT_Errors::v_ResetError();
    return 0;
}
