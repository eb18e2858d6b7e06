// export_stories DOC.idml OUT.stt: the stories of an IDML document into a tagged story file.
#include <iostream>

#include "document/ct_document.h"
#include "platform/host/ct_host.h"
#include "platform/host/idml/ct_idml_host.h"
#include "settings/ct_process_data.h"
#include "settings/ct_story_list_settings.h"

int main(int i_Argc, char** ppc_Argv) {
    if (i_Argc != 3) {
        std::cerr << "usage: export_stories DOC.idml OUT.stt\n";
        return 2;
    }
    CT_IdmlHost co_host;
    CT_Host::sv_Install(&co_host);
    CT_LogStream co_log(std::cout);
    CT_ProcessData co_data(co_log, CT_StoryFormatSettings(), "Export");
    const CT_StoryListSettings co_list;  // top-down, pasteboard included
    const int b_stopped = CT_Document::sb_Export(ppc_Argv[1], ppc_Argv[2], co_list, co_data);
    CT_Host::sv_Install(nullptr);
    return b_stopped;
}
