#include "tools/ct_list_command.h"

#include <iostream>

#include "storyport/operations.h"
#include "tools/ct_story_list_printer.h"
#include "tools/ct_tool_session.h"

et_ExitStatus CT_ListCommand::seo_Run(CT_ToolSession& co_Session) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    const CT_StoryListing co_listing = CT_Operations::sco_List(co_Session);
    const CT_StoryListPrinter co_printer(co_listing);
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
