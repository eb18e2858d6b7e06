#include "tools/ct_list_command.h"

#include <iostream>
#include <string>

#include "document/ct_document.h"
#include "operations/ct_current_document.h"
#include "operations/ct_order_file.h"
#include "operations/ct_story_counts.h"
#include "tools/ct_story_list_printer.h"
#include "tools/ct_tool_session.h"

et_ExitStatus CT_ListCommand::seo_Run(CT_ToolSession& co_Session) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    std::unique_ptr<CT_OrderFile> pco_orderFile;
    if (!co_options.s_OrderFile.empty()) {
        pco_orderFile = std::make_unique<CT_OrderFile>(co_options.s_OrderFile);
    }
    CT_CurrentDocument co_document(co_options.s_Document, co_Session.cco_GetStoryListSettings());
    if (pco_orderFile) {
        co_Session.v_ApplyOrderFile(*pco_orderFile, co_document.co_GetStoryOrder());
    }
    CT_StoryListPrinter co_printer(co_document.co_GetStoryOrder(),
                                   std::string(co_document.co_GetDocument().co_GetFileName().sv()),
                                   co_Session.co_GetHost());
    std::unique_ptr<CT_StoryCounts> pco_counts;
    if (!co_options.b_Keys) {
        pco_counts = std::make_unique<CT_StoryCounts>(
            co_Session.co_GetHost(), co_document.co_GetStoryOrder(),
            [&co_Session](const std::string& s_Key) {
                const CT_IdmlBox* pco_box = co_Session.co_GetHost().pco_FindListed(s_Key);
                return pco_box == nullptr || pco_box->s_LeftOut.empty();
            });
        co_printer.v_SetCounts(pco_counts.get());
    }
    if (co_options.b_Json) {
        co_printer.v_PrintJson(std::cout);
    } else if (co_options.b_Keys) {
        co_printer.v_PrintKeys(std::cout);
    } else {
        co_printer.v_PrintText(std::cout);
    }
    std::cout.flush();
    return e_ExitOk;
}
