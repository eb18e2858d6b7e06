#include "tools/ct_help_formatter.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "tools/ct_command_tree.h"
#include "tools/ct_text_wrap.h"

namespace {
using t_Rows = std::vector<std::pair<std::string, std::string>>;

// Where the second column starts: after the widest name, within bounds that keep short names
// close to their help and long ones from pushing it off the screen.
std::size_t n_Column(const t_Rows& co_Rows) {
    std::size_t n_widest = 0;
    for (const auto& co_row : co_Rows) {
        n_widest = std::max(n_widest, co_row.first.size());
    }
    return std::clamp<std::size_t>(n_widest + 4, 16, 30);
}

std::string s_Section(const std::string& s_Title, const t_Rows& co_Rows, std::size_t n_Column,
                      std::size_t n_Width) {
    if (co_Rows.empty()) {
        return "";
    }
    std::string s_out = "\n" + s_Title + ":\n";
    for (const auto& co_row : co_Rows) {
        s_out += CT_TextWrap::ss_TwoColumns(co_row.first, co_row.second, n_Column, n_Width);
    }
    return s_out;
}

t_Rows co_OptionRows(const std::vector<const CLI::Option*>& co_Options) {
    t_Rows co_rows;
    for (const CLI::Option* pco_option : co_Options) {
        co_rows.emplace_back(CT_CommandTree::ss_OptionName(*pco_option),
                             CT_CommandTree::ss_OptionHelp(*pco_option));
    }
    return co_rows;
}

// The top command's options that a command below it takes too, help and version aside.
std::vector<const CLI::Option*> co_GlobalOptions(const CLI::App& co_App) {
    std::vector<const CLI::Option*> co_global;
    const CLI::App* pco_top = &co_App;
    while (pco_top->get_parent() != nullptr) {
        pco_top = pco_top->get_parent();
    }
    if (pco_top == &co_App) {
        return co_global;
    }
    for (const CLI::Option* pco_option : CT_CommandTree::sco_Options(*pco_top)) {
        if (pco_option != pco_top->get_help_ptr() && pco_option != pco_top->get_version_ptr()) {
            co_global.push_back(pco_option);
        }
    }
    return co_global;
}
}  // namespace

std::string CT_HelpFormatter::make_help(const CLI::App* pco_App, std::string,
                                        CLI::AppFormatMode) const {
    const CLI::App& co_app = *pco_App;
    std::string s_out = "Usage: " + CT_CommandTree::ss_Usage(co_app) + "\n";
    if (!co_app.get_description().empty()) {
        s_out += "\n" + CT_TextWrap::ss_Paragraphs(co_app.get_description(), n_Width);
    }
    t_Rows co_commands;
    for (const CLI::App* pco_command : CT_CommandTree::sco_Commands(co_app)) {
        co_commands.emplace_back(pco_command->get_name(), pco_command->get_description());
    }
    const t_Rows co_operands = co_OptionRows(CT_CommandTree::sco_Operands(co_app));
    const t_Rows co_options = co_OptionRows(CT_CommandTree::sco_Options(co_app));
    const t_Rows co_global = co_OptionRows(co_GlobalOptions(co_app));
    // One column for the whole page, so that its sections line up.
    t_Rows co_all = co_commands;
    for (const t_Rows* pco_rows : {&co_operands, &co_options, &co_global}) {
        co_all.insert(co_all.end(), pco_rows->begin(), pco_rows->end());
    }
    const std::size_t n_column = n_Column(co_all);
    s_out += s_Section("Commands", co_commands, n_column, n_Width);
    s_out += s_Section("Arguments", co_operands, n_column, n_Width);
    s_out += s_Section("Options", co_options, n_column, n_Width);
    s_out += s_Section("Global options", co_global, n_column, n_Width);
    const std::string s_footer = CT_CommandTree::ss_OwnFooter(co_app);
    if (!s_footer.empty()) {
        s_out += "\n" + CT_TextWrap::ss_Paragraphs(s_footer, n_Width);
    }
    return s_out;
}

std::size_t CT_HelpFormatter::sn_TerminalWidth() {
    winsize co_size{};
    if (isatty(STDOUT_FILENO) == 0 || ioctl(STDOUT_FILENO, TIOCGWINSZ, &co_size) != 0 ||
        co_size.ws_col == 0) {
        return 80;
    }
    // Below this the two columns no longer fit side by side.
    return std::max<std::size_t>(co_size.ws_col, 40);
}
