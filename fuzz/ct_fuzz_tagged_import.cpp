// The import of a tagged story file from strangers: the file, the key reader and the content
// the host takes. Whatever the bytes, the import ends with a log and no handle left given out.
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "document/ct_document.h"
#include "fuzz/ct_fuzz_file.h"
#include "platform/common/ct_errors.h"
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
    static const CT_FuzzFile sco_File(".mtt");
    const std::string& s_Path = sco_File.s_Write(pc_Data, n_Size);
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
            CT_Document::sb_Import("/d.indd", CT_String(s_Path.c_str()), co_Settings, co_Data);
        } catch (et_ErrorCode) {
        }
        if (co_Host.n_LiveBoxHandles() != 0 || co_Host.n_LiveDocumentHandles() != 0) {
            std::abort();
        }
    }
    CT_Errors::v_ResetError();
    return 0;
}
