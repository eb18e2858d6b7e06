#include "tools/ct_manual_page.h"

#include <CLI/CLI.hpp>

#include <cctype>
#include <sstream>

#include "tools/ct_command_tree.h"

namespace {
// Text as roff shows it literally: backslashes and hyphens escaped, and no line that roff would
// take for a request.
std::string s_Roff(const std::string& s_Text) {
    std::string s_out;
    for (const char c_char : s_Text) {
        if (c_char == '\\') {
            s_out += "\\e";
        } else if (c_char == '-') {
            s_out += "\\-";
        } else {
            s_out += c_char;
        }
    }
    if (!s_out.empty() && (s_out.front() == '.' || s_out.front() == '\'')) {
        s_out.insert(0, "\\&");
    }
    return s_out;
}

// Notes and examples: plain lines are filled by roff, indented ones (examples) kept as they are.
std::string s_Notes(const std::string& s_Text) {
    std::istringstream co_in(s_Text);
    std::string s_out = ".PP\n";
    std::string s_line;
    bool b_verbatim = false;
    while (std::getline(co_in, s_line)) {
        const bool b_indented = !s_line.empty() && s_line.front() == ' ';
        if (b_indented != b_verbatim) {
            s_out += b_indented ? ".nf\n" : ".fi\n";
            b_verbatim = b_indented;
        }
        s_out += s_line.empty() ? ".PP\n" : s_Roff(s_line) + "\n";
    }
    return s_out + (b_verbatim ? ".fi\n" : "");
}

std::string s_Items(const std::vector<const CLI::Option*>& co_Options) {
    std::string s_out;
    for (const CLI::Option* pco_option : co_Options) {
        s_out += ".TP\n\\fB" + s_Roff(CT_CommandTree::ss_OptionName(*pco_option)) + "\\fR\n" +
                 s_Roff(CT_CommandTree::ss_OptionHelp(*pco_option)) + "\n";
    }
    return s_out;
}

std::string s_Command(const CLI::App& co_Command) {
    std::string s_out = ".SS \"" + s_Roff(CT_CommandTree::ss_Usage(co_Command)) + "\"\n" +
                        s_Roff(co_Command.get_description()) + "\n";
    s_out += s_Items(CT_CommandTree::sco_Operands(co_Command));
    s_out += s_Items(CT_CommandTree::sco_Options(co_Command));
    const std::string s_footer = CT_CommandTree::ss_OwnFooter(co_Command);
    if (!s_footer.empty()) {
        s_out += s_Notes(s_footer);
    }
    for (const CLI::App* pco_sub : CT_CommandTree::sco_Commands(co_Command)) {
        s_out += s_Command(*pco_sub);
    }
    return s_out;
}

// "prepares IDML documents for translation through XLIFF": the first sentence of the
// description, without the command's name, for the NAME line that whatis and apropos read.
std::string s_Summary(const CLI::App& co_App) {
    std::string s_summary = co_App.get_description();
    s_summary = s_summary.substr(0, s_summary.find(". "));
    if (!s_summary.empty() && s_summary.back() == '.') {
        s_summary.pop_back();
    }
    const std::string s_name = co_App.get_name() + " ";
    return s_summary.rfind(s_name, 0) == 0 ? s_summary.substr(s_name.size()) : s_summary;
}

}  // namespace

std::string CT_ManualPage::ss_Write(const CLI::App& co_App, const std::string& s_Version) {
    std::string s_title = co_App.get_name();
    for (char& c_char : s_title) {
        c_char = static_cast<char>(std::toupper(static_cast<unsigned char>(c_char)));
    }
    std::string s_out =
        ".TH " + s_Roff(s_title) + " 1 \"\" \"" + s_Roff(s_Version) + "\" \"User Commands\"\n";
    s_out += ".SH NAME\n" + s_Roff(co_App.get_name()) + " \\- " + s_Roff(s_Summary(co_App)) + "\n";
    s_out += ".SH SYNOPSIS\n.nf\n" + s_Roff(CT_CommandTree::ss_Usage(co_App)) + "\n";
    for (const CLI::App* pco_command : CT_CommandTree::sco_Commands(co_App)) {
        s_out += s_Roff(CT_CommandTree::ss_Usage(*pco_command)) + "\n";
    }
    s_out += ".fi\n.SH DESCRIPTION\n" + s_Roff(co_App.get_description()) + "\n";
    s_out += ".SH OPTIONS\n" + s_Items(CT_CommandTree::sco_Options(co_App));
    s_out += ".SH COMMANDS\n";
    for (const CLI::App* pco_command : CT_CommandTree::sco_Commands(co_App)) {
        s_out += s_Command(*pco_command);
    }
    s_out += ".SH NOTES\n" + s_Notes(co_App.get_footer());
    return s_out;
}
