#include "tools/ct_command_tree.h"

#include <CLI/CLI.hpp>

#include <algorithm>

namespace {
// The words the parser uses for a value of a type nobody named.
bool b_ParserTypeWord(const std::string& s_Name) {
    static const char* const apc_words[] = {"TEXT", "INT",  "UINT",  "FLOAT",  "BOOLEAN",
                                            "CHAR", "ENUM", "TUPLE", "COMPLEX"};
    return std::find(std::begin(apc_words), std::end(apc_words), s_Name) != std::end(apc_words);
}

std::string s_Upper(std::string s_Text) {
    for (char& c_char : s_Text) {
        c_char = c_char == '-'
                     ? '_'
                     : static_cast<char>(std::toupper(static_cast<unsigned char>(c_char)));
    }
    return s_Text;
}

bool b_Visible(const CLI::Option& co_Option) {
    return !co_Option.get_group().empty();
}
}  // namespace

std::vector<const CLI::App*> CT_CommandTree::sco_Commands(const CLI::App& co_App) {
    return co_App.get_subcommands([](const CLI::App* pco_Sub) {
        return !pco_Sub->get_name().empty() && !pco_Sub->get_group().empty() &&
               !pco_Sub->get_disabled();
    });
}

std::vector<const CLI::Option*> CT_CommandTree::sco_Options(const CLI::App& co_App) {
    return co_App.get_options([](const CLI::Option* pco_Option) {
        return pco_Option->nonpositional() && b_Visible(*pco_Option);
    });
}

std::vector<const CLI::Option*> CT_CommandTree::sco_Operands(const CLI::App& co_App) {
    return co_App.get_options([](const CLI::Option* pco_Option) {
        return pco_Option->get_positional() && !pco_Option->nonpositional() &&
               b_Visible(*pco_Option);
    });
}

std::string CT_CommandTree::ss_Path(const CLI::App& co_App) {
    const CLI::App* pco_parent = co_App.get_parent();
    return pco_parent == nullptr ? co_App.get_name()
                                 : ss_Path(*pco_parent) + " " + co_App.get_name();
}

std::string CT_CommandTree::ss_Usage(const CLI::App& co_App) {
    std::string s_usage = ss_Path(co_App);
    if (!sco_Options(co_App).empty()) {
        s_usage += " [OPTIONS]";
    }
    for (const CLI::Option* pco_operand : sco_Operands(co_App)) {
        std::string s_name = pco_operand->get_name();
        if (pco_operand->get_items_expected_max() > 1) {
            s_name += "...";
        }
        s_usage += pco_operand->get_required() ? " " + s_name : " [" + s_name + "]";
    }
    if (!sco_Commands(co_App).empty()) {
        // At the top a command is always needed, though the parser lets --version go alone.
        const bool b_needed =
            co_App.get_require_subcommand_min() > 0 || co_App.get_parent() == nullptr;
        s_usage += b_needed ? " COMMAND" : " [COMMAND]";
    }
    return s_usage;
}

std::string CT_CommandTree::ss_ValueName(const CLI::Option& co_Option) {
    if (co_Option.get_items_expected_max() <= 0) {
        return "";
    }
    std::string s_type = co_Option.get_type_name();
    // A checked value's type reads "ORDER:{a,b}"; the list goes into the help instead.
    s_type = s_type.substr(0, s_type.find(':'));
    if (s_type.empty() || b_ParserTypeWord(s_type)) {
        const std::vector<std::string>& co_long = co_Option.get_lnames();
        s_type = co_long.empty() ? "VALUE" : s_Upper(co_long.front());
    }
    return s_type;
}

std::string CT_CommandTree::ss_OptionName(const CLI::Option& co_Option) {
    if (!co_Option.nonpositional()) {
        return co_Option.get_name();
    }
    std::string s_name;
    for (const std::string& s_short : co_Option.get_snames()) {
        s_name += (s_name.empty() ? "-" : ", -") + s_short;
    }
    for (const std::string& s_long : co_Option.get_lnames()) {
        s_name += (s_name.empty() ? "--" : ", --") + s_long;
    }
    const std::string s_value = ss_ValueName(co_Option);
    return s_value.empty() ? s_name : s_name + " " + s_value;
}

std::vector<std::string> CT_CommandTree::sco_Choices(const CLI::Option& co_Option) {
    const std::string s_type = co_Option.get_type_name();
    const std::size_t n_open = s_type.find(":{");
    std::vector<std::string> co_choices;
    if (n_open == std::string::npos || s_type.back() != '}') {
        return co_choices;
    }
    const std::string s_list = s_type.substr(n_open + 2, s_type.size() - n_open - 3);
    std::size_t n_start = 0;
    while (n_start <= s_list.size()) {
        const std::size_t n_comma = std::min(s_list.find(',', n_start), s_list.size());
        co_choices.push_back(s_list.substr(n_start, n_comma - n_start));
        n_start = n_comma + 1;
    }
    return co_choices;
}

std::string CT_CommandTree::ss_OptionHelp(const CLI::Option& co_Option) {
    std::string s_help = co_Option.get_description();
    const std::vector<std::string> co_choices = sco_Choices(co_Option);
    if (!co_choices.empty() && s_help.find(co_choices.front()) == std::string::npos) {
        std::string s_list;
        for (const std::string& s_choice : co_choices) {
            s_list += (s_list.empty() ? "" : ", ") + s_choice;
        }
        s_help += " (one of " + s_list + ")";
    }
    std::string s_excluded;
    for (const CLI::Option* pco_other : co_Option.get_excludes()) {
        s_excluded += (s_excluded.empty() ? "" : ", ") + pco_other->get_name();
    }
    if (!s_excluded.empty()) {
        s_help += " (not with " + s_excluded + ")";
    }
    for (const CLI::Option* pco_other : co_Option.get_needs()) {
        s_help += " (needs " + pco_other->get_name() + ")";
    }
    if (co_Option.nonpositional() && co_Option.get_required()) {
        s_help += " (required)";
    }
    if (!co_Option.get_default_str().empty()) {
        s_help += " (default: " + co_Option.get_default_str() + ")";
    }
    return s_help;
}

std::string CT_CommandTree::ss_OwnFooter(const CLI::App& co_App) {
    const std::string s_footer = co_App.get_footer();
    const CLI::App* pco_parent = co_App.get_parent();
    return pco_parent != nullptr && pco_parent->get_footer() == s_footer ? "" : s_footer;
}
