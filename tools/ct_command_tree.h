// What the command-line parser knows of the storyport command, read back in the terms its users
// see: the commands and options shown to them, their names, usage lines, help and notes. The
// help text, the manual page and the completion script all read the parser through this class,
// so none of them can tell a different story. It holds nothing; the parser owns the definitions.
#pragma once

#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
}  // namespace CLI

class CT_CommandTree {
  public:
    // The commands under co_App that users see, in the order they were defined.
    static std::vector<const CLI::App*> sco_Commands(const CLI::App& co_App);
    // The options (not operands) of co_App that users see.
    static std::vector<const CLI::Option*> sco_Options(const CLI::App& co_App);
    // The operands of co_App, in their order on the command line.
    static std::vector<const CLI::Option*> sco_Operands(const CLI::App& co_App);

    // The words that call co_App: "storyport batch export".
    static std::string ss_Path(const CLI::App& co_App);
    // "storyport batch export [OPTIONS] [DOC...]"
    static std::string ss_Usage(const CLI::App& co_App);
    // "-V, --version", "--order ORDER", "DOC".
    static std::string ss_OptionName(const CLI::Option& co_Option);
    // The value an option takes ("ORDER"), or "" for a flag.
    static std::string ss_ValueName(const CLI::Option& co_Option);
    // The values an option accepts when it checks them against a list, else none.
    static std::vector<std::string> sco_Choices(const CLI::Option& co_Option);
    // The option's help with what the parser enforces said in words: the values it accepts,
    // the options it cannot be used with, that it is required.
    static std::string ss_OptionHelp(const CLI::Option& co_Option);
    // The command's own notes and examples; a command that has none of its own says nothing
    // rather than repeat the notes of the command above it.
    static std::string ss_OwnFooter(const CLI::App& co_App);
};
