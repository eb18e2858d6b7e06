#include "tools/ct_bash_completion.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <vector>

#include "operations/ct_setting_words.h"
#include "tools/ct_command_tree.h"

namespace {
// The command's words after the program's name: "batch export", "" at the top.
std::string s_Key(const CLI::App& co_Command) {
    std::string s_path = CT_CommandTree::ss_Path(co_Command);
    const std::size_t n_space = s_path.find(' ');
    return n_space == std::string::npos ? "" : s_path.substr(n_space + 1);
}

std::vector<std::string> co_Spellings(const CLI::Option& co_Option) {
    std::vector<std::string> co_names;
    for (const std::string& s_short : co_Option.get_snames()) {
        co_names.push_back("-" + s_short);
    }
    for (const std::string& s_long : co_Option.get_lnames()) {
        co_names.push_back("--" + s_long);
    }
    return co_names;
}

std::string s_Join(const std::vector<std::string>& co_Words, const std::string& s_Between) {
    std::string s_out;
    for (const std::string& s_word : co_Words) {
        s_out += (s_out.empty() ? "" : s_Between) + s_word;
    }
    return s_out;
}

// The command and every command under it, the top first.
void v_Collect(const CLI::App& co_Command, std::vector<const CLI::App*>& co_All) {
    co_All.push_back(&co_Command);
    for (const CLI::App* pco_sub : CT_CommandTree::sco_Commands(co_Command)) {
        v_Collect(*pco_sub, co_All);
    }
}

// What the word after an option completes to: one of its values, a folder or a file.
std::string s_ValueReply(const CLI::Option& co_Option) {
    const std::vector<std::string> co_choices = CT_CommandTree::sco_Choices(co_Option);
    if (!co_choices.empty()) {
        return "COMPREPLY=($(compgen -W \"" + s_Join(co_choices, " ") + "\" -- \"$cur\"))";
    }
    if (CT_CommandTree::ss_ValueName(co_Option) == "DIR") {
        return "compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -d -- \"$cur\"))";
    }
    return "compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -f -- \"$cur\"))";
}

// For a command whose operands are a setting's KEY and VALUE: the keys first, then the words
// of the key given (a folder for a folder's key). Empty for other commands.
std::string s_SettingReplies(const CLI::App& co_Command) {
    const std::vector<const CLI::Option*> co_operands = CT_CommandTree::sco_Operands(co_Command);
    if (co_operands.empty() || co_operands.front()->get_name() != "KEY") {
        return "";
    }
    std::vector<std::string> co_keys;
    std::string s_values;
    for (const std::string& s_key : CT_SettingWords::sco_Keys()) {
        const std::string s_spelling = CT_SettingWords::ss_Spelling(s_key);
        co_keys.insert(co_keys.end(), {s_key, s_spelling});
        const std::vector<std::string>& co_words = CT_SettingWords::sco_Words(s_key);
        s_values += "            \"1:" + s_key + "\"|\"1:" + s_spelling + "\") " +
                    (co_words.empty() ? std::string("compopt -o filenames 2>/dev/null; "
                                                    "COMPREPLY=($(compgen -d -- \"$cur\"))")
                                      : "COMPREPLY=($(compgen -W \"" + s_Join(co_words, " ") +
                                            "\" -- \"$cur\"))") +
                    "; return ;;\n";
    }
    return "    if [[ $command == \"" + s_Key(co_Command) +
           "\" && $cur != -* ]]; then\n"
           "        case \"${#operands[@]}:${operands[0]}\" in\n"
           "            0:*) COMPREPLY=($(compgen -W \"" +
           s_Join(co_keys, " ") + "\" -- \"$cur\")); return ;;\n" + s_values +
           "        esac\n"
           "    fi\n";
}
}  // namespace

std::string CT_BashCompletion::ss_Write(const CLI::App& co_App) {
    std::vector<const CLI::App*> co_all;
    v_Collect(co_App, co_all);
    const std::vector<const CLI::Option*> co_global = CT_CommandTree::sco_Options(co_App);

    std::string s_values;    // options that take a value, every spelling
    std::string s_steps;     // a command word that leads from one command to the next
    std::string s_replies;   // the value of an option, by command
    std::string s_words;     // what the next word can be, by command
    std::string s_settings;  // the operands of the settings command
    for (const CLI::App* pco_command : co_all) {
        const std::string s_key = s_Key(*pco_command);
        std::vector<const CLI::Option*> co_options = CT_CommandTree::sco_Options(*pco_command);
        if (pco_command != &co_App) {
            co_options.insert(co_options.end(), co_global.begin(), co_global.end());
        }
        s_settings += s_SettingReplies(*pco_command);
        std::vector<std::string> co_optionWords;
        for (const CLI::Option* pco_option : co_options) {
            std::vector<std::string> co_names = co_Spellings(*pco_option);
            // The help option of a command is the same option as the top's: offered once.
            if (std::find(co_optionWords.begin(), co_optionWords.end(), co_names.front()) !=
                co_optionWords.end()) {
                continue;
            }
            co_optionWords.insert(co_optionWords.end(), co_names.begin(), co_names.end());
            if (pco_option->get_items_expected_max() > 0) {
                for (const std::string& s_name : co_names) {
                    s_values += "|" + s_name;
                }
                s_replies += "        \"" + s_key + ":" + s_Join(co_names, "\"|\"" + s_key + ":") +
                             "\") " + s_ValueReply(*pco_option) + "; return ;;\n";
            }
        }
        std::vector<std::string> co_commands;
        for (const CLI::App* pco_sub : CT_CommandTree::sco_Commands(*pco_command)) {
            co_commands.push_back(pco_sub->get_name());
            s_steps += "            \"" + s_key + ":" + pco_sub->get_name() + "\") command=\"" +
                       s_Key(*pco_sub) + "\" ;;\n";
        }
        // An operand named COMMAND (the help command's) takes the names of the commands.
        bool b_files = false;
        for (const CLI::Option* pco_operand : CT_CommandTree::sco_Operands(*pco_command)) {
            if (pco_operand->get_name() == "COMMAND") {
                for (const CLI::App* pco_top : CT_CommandTree::sco_Commands(co_App)) {
                    co_commands.push_back(pco_top->get_name());
                }
            } else {
                b_files = true;
            }
        }
        s_words += "        \"" + s_key + "\") options=\"" + s_Join(co_optionWords, " ") +
                   "\"; commands=\"" + s_Join(co_commands, " ") +
                   "\"; files=" + (b_files ? "1" : "0") + " ;;\n";
    }
    const std::string s_name = co_App.get_name();
    return "# bash completion for " + s_name +
           ", written by the build from the command's own definition.\n"
           "_" +
           s_name +
           "() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    local command=\"\" word i options commands files operands=()\n"
           "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           "        word=${COMP_WORDS[i]}\n"
           "        case \"$word\" in\n"
           "            " +
           (s_values.empty() ? "--" : s_values.substr(1)) +
           ") ((i++)); continue ;;\n"
           "        esac\n"
           "        case \"$command:$word\" in\n" +
           s_steps +
           "            *) [[ $word != -* ]] && operands+=(\"$word\") ;;\n"
           "        esac\n"
           "    done\n"
           "    case \"$command:$prev\" in\n" +
           s_replies + "    esac\n" + s_settings + "    case \"$command\" in\n" + s_words +
           "    esac\n"
           "    if [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
           "    elif [[ -n $commands ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$commands\" -- \"$cur\"))\n"
           "    elif ((files)); then\n"
           "        compopt -o filenames 2>/dev/null\n"
           "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
           "    fi\n"
           "}\n"
           "complete -F _" +
           s_name + " " + s_name + "\n";
}
