#include "tools/ct_check_command.h"

#include <iostream>
#include <string>

#include "map/ct_json_string.h"
#include "storyport/operations.h"
#include "tools/ct_tool_session.h"

et_ExitStatus CT_CheckCommand::seo_Run(CT_ToolSession& co_Session) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    const CT_CheckResult co_result = CT_Operations::sco_Check(co_Session);
    // The trial import may have left its bar on the terminal.
    co_Session.v_ClearProgress();
    if (co_options.b_Json) {
        std::cout << "{\n  \"document\": " << CT_JsonString::ss_Quote(co_options.s_Document)
                  << ",\n  \"file\": "
                  << CT_JsonString::ss_Quote(co_Session.co_GetSink().s_Shown(co_options.s_Tagged))
                  << ",\n  \"findings\": [";
        const char* pc_separator = "\n    ";
        for (const CT_CheckRecord& co_record : co_result.co_Records) {
            std::cout << pc_separator << "{\"kind\": " << CT_JsonString::ss_Quote(co_record.s_Kind)
                      << ", \"story\": " << CT_JsonString::ss_Quote(co_record.s_Story)
                      << ", \"unit\": " << CT_JsonString::ss_Quote(co_record.s_Unit)
                      << ", \"code\": " << CT_JsonString::ss_Quote(co_record.s_Code)
                      << ", \"line\": "
                      << (co_record.n_Line == 0 ? std::string("null")
                                                : std::to_string(co_record.n_Line))
                      << ", \"message\": " << CT_JsonString::ss_Quote(co_record.s_Message) << "}";
            pc_separator = ",\n    ";
        }
        std::cout << "\n  ],\n  \"clean\": " << (co_result.eo_Status == e_ExitOk ? "true" : "false")
                  << ",\n  \"verdict\": " << CT_JsonString::ss_Quote(co_result.s_Verdict)
                  << ",\n  \"fit\": ";
        co_result.co_Fit.v_PrintJson(std::cout, "  ");
        std::cout << "\n}" << std::endl;
        return co_result.eo_Status;
    }
    for (const std::string& s_line : co_result.co_Lines) {
        std::cout << s_line << "\n";
    }
    std::cout << co_result.s_Verdict << "\n";
    co_result.co_Fit.v_PrintText(std::cout);
    std::cout.flush();
    return co_result.eo_Status;
}
