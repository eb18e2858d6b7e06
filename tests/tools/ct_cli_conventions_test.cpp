// The command line behaves like the tools its users know: version, usage, help, refusals with a
// suggestion, help in plain words that fits the screen, and a manual page and a completion
// script that follow the same definition of commands.
#include <cstdlib>
#include <set>
#include <sstream>

#include "tests/tools/ct_cli_fixture.h"

namespace {
struct CT_Convention {
    std::string s_Args;  // the words of the command line, one space between each
    int i_Status;
    std::string s_FirstLine;  // how the first line starts; "storyport:" puts it on standard error
};

std::ostream& operator<<(std::ostream& co_Out, const CT_Convention& co_Case) {
    return co_Out << co_Case.s_Args;
}

class CT_CliConventionTest : public CT_CliTest,
                             public ::testing::WithParamInterface<CT_Convention> {};

const std::string gs_Version = "storyport " STORYPORT_VERSION;
}  // namespace

TEST_P(CT_CliConventionTest, StatusAndFirstLine) {
    const CT_Convention& co_case = GetParam();
    std::vector<std::string> co_args;
    std::istringstream co_words(co_case.s_Args);
    for (std::string s_word; co_words >> s_word;) {
        co_args.push_back(s_word);
    }
    const CT_CliResult co_result = co_Run(co_args);
    EXPECT_EQ(co_result.i_Status, co_case.i_Status) << co_result.s_Err;
    const bool b_onErr = co_case.s_FirstLine.rfind("storyport:", 0) == 0;
    const std::string& s_text = b_onErr ? co_result.s_Err : co_result.s_Out;
    ASSERT_FALSE(s_text.empty());
    const std::string s_first = sco_Lines(s_text).front();
    EXPECT_EQ(s_first.substr(0, co_case.s_FirstLine.size()), co_case.s_FirstLine) << s_first;
    if (b_onErr) {
        EXPECT_EQ(co_result.s_Out, "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Conventions, CT_CliConventionTest,
    ::testing::Values(
        CT_Convention{"--version", 0, gs_Version}, CT_Convention{"-V", 0, gs_Version},
        // Nothing asked: the usage, with the status of a wrong command line.
        CT_Convention{"", 2, "Usage: storyport [OPTIONS] COMMAND"},
        CT_Convention{"--log x.log", 2, "Usage: storyport [OPTIONS] COMMAND"},
        CT_Convention{"batch", 2, "Usage: storyport batch [OPTIONS] COMMAND"},
        CT_Convention{"help", 0, "Usage: storyport [OPTIONS] COMMAND"},
        CT_Convention{"--help", 0, "Usage: storyport [OPTIONS] COMMAND"},
        CT_Convention{"help list", 0, "Usage: storyport list [OPTIONS] DOC"},
        CT_Convention{"batch --help", 0, "Usage: storyport batch [OPTIONS] COMMAND"},
        CT_Convention{"help batch export", 0, "Usage: storyport batch export [OPTIONS] [DOC...]"},
        CT_Convention{"lst", 2, "storyport: unknown command 'lst'; did you mean 'list'?"},
        CT_Convention{"exprot a.idml", 2,
                      "storyport: unknown command 'exprot'; did you mean 'export'?"},
        CT_Convention{"--log x.log chek", 2,
                      "storyport: unknown command 'chek'; did you mean 'check'?"},
        CT_Convention{"batch imprt a.idml", 2,
                      "storyport: unknown command 'batch imprt'; did you mean 'batch import'?"},
        CT_Convention{"sett", 2, "storyport: unknown command 'sett'; did you mean 'settings'?"},
        CT_Convention{
            "frobnicate", 2,
            "storyport: unknown command 'frobnicate'; 'storyport help' lists the commands"},
        CT_Convention{"help lst", 2, "storyport: unknown command 'lst'; did you mean 'list'?"},
        CT_Convention{
            "list brochure.idml --jsn", 2,
            "storyport: unknown option '--jsn' for 'storyport list'; did you mean '--json'?"},
        // Usage errors name what is wrong, before anything is read or written.
        CT_Convention{"export brochure.idml", 2, "storyport: TAGGED is required"},
        CT_Convention{"list brochure.idml --json --keys", 2, "storyport: --json excludes --keys"},
        CT_Convention{"list brochure.idml --order diagonal", 2,
                      "storyport: --order: diagonal not in {top-down,left-right,"},
        CT_Convention{"export brochure.idml c.xlf", 2,
                      "storyport: an XLIFF export needs --target-lang, the language to translate "
                      "into (a BCP 47 code such as fr-FR)"},
        // A language tag must name a language (and a region) that exists.
        CT_Convention{"export brochure.idml c.xlf --target-lang fr_FR", 2,
                      "storyport: --target-lang: \"fr_FR\" is not a BCP 47 language tag; did you "
                      "mean fr-FR?"},
        CT_Convention{"export brochure.idml c.xlf --target-lang french", 2,
                      "storyport: --target-lang: \"french\" names no language; did you mean fr?"},
        CT_Convention{"pseudo brochure.idml p.idml --target-lang qq", 2,
                      "storyport: --target-lang: \"qq\" names no language; give a BCP 47 tag such "
                      "as fr or en-US"},
        CT_Convention{"export brochure.idml c.xlf --target-lang de --source-lang en-QQ", 2,
                      "storyport: --source-lang: \"en-QQ\" names no region (QQ); give a BCP 47 tag "
                      "such as fr or en-US"},
        // An operand that happens to look like a command is an operand.
        CT_Convention{"list lst", 1, "storyport: error: cannot open \"lst\""}));

namespace {
// The commands under a help text's "Commands:" section.
std::vector<std::string> co_CommandsIn(const std::string& s_Help) {
    std::vector<std::string> co_commands;
    std::istringstream co_in(s_Help);
    std::string s_line;
    bool b_inside = false;
    while (std::getline(co_in, s_line)) {
        if (s_line == "Commands:") {
            b_inside = true;
        } else if (s_line.empty()) {
            b_inside = false;
        } else if (b_inside && s_line.rfind("  ", 0) == 0 && s_line[2] != ' ') {
            co_commands.push_back(s_line.substr(2, s_line.find(' ', 2) - 2));
        }
    }
    return co_commands;
}
}  // namespace

// Every command, found by walking the help itself so that commands added later are held to the
// same rules: "help X" and "X --help" agree; no line outgrows 80 columns but an example's; no
// parser words; the top's notes are not repeated; each leaf command shows an example.
TEST_F(CT_CliTest, HelpOfEveryCommandIsPlainAndFits) {
    std::vector<std::vector<std::string>> co_pending = {{}};
    std::set<std::string> co_seen;
    const std::string s_topNote = "Exit status:";
    while (!co_pending.empty()) {
        const std::vector<std::string> co_path = co_pending.back();
        co_pending.pop_back();
        std::vector<std::string> co_args = {"help"};
        co_args.insert(co_args.end(), co_path.begin(), co_path.end());
        const CT_CliResult co_help = co_Run(co_args);
        std::string s_name = "storyport";
        for (const std::string& s_word : co_path) {
            s_name += " " + s_word;
        }
        co_seen.insert(s_name);
        ASSERT_EQ(co_help.i_Status, 0) << s_name << "\n" << co_help.s_Err;
        std::vector<std::string> co_dashHelp = co_path;
        co_dashHelp.push_back("--help");
        EXPECT_EQ(co_Run(co_dashHelp).s_Out, co_help.s_Out) << s_name;
        for (const std::string& s_line : sco_Lines(co_help.s_Out)) {
            if (s_line.rfind("  storyport ", 0) != 0 && s_line.rfind("    storyport ", 0) != 0) {
                EXPECT_LE(s_line.size(), 80u) << s_name << ": " << s_line;
            }
            for (const char* pc_word : {"TEXT", "REQUIRED", "Excludes", "Needs", "[Option Group",
                                        "subcommand", "UINT", "INT "}) {
                EXPECT_EQ(s_line.find(pc_word), std::string::npos) << s_name << ": " << s_line;
            }
        }
        EXPECT_EQ(co_help.s_Out.find(s_topNote) != std::string::npos, co_path.empty()) << s_name;
        const std::vector<std::string> co_commands = co_CommandsIn(co_help.s_Out);
        if (co_commands.empty()) {
            EXPECT_NE(co_help.s_Out.find("Example:\n  storyport "), std::string::npos) << s_name;
        }
        for (const std::string& s_command : co_commands) {
            std::vector<std::string> co_next = co_path;
            co_next.push_back(s_command);
            co_pending.push_back(co_next);
        }
    }
    for (const char* pc_command :
         {"storyport list", "storyport batch import", "storyport settings set", "storyport help"}) {
        EXPECT_EQ(co_seen.count(pc_command), 1u) << pc_command;
    }
}

// The manual page and the completion script come from the same definition as the help: every
// command's usage line is in the page, and bash completes commands, options and values.
TEST_F(CT_CliTest, ManualPageAndCompletionFollowTheCommands) {
    ASSERT_EQ(co_Run({"--generate-man", "storyport.1"}).i_Status, 0);
    ASSERT_EQ(co_Run({"--generate-completion", "storyport.bash"}).i_Status, 0);
    const std::string s_page = s_Read("storyport.1");
    EXPECT_EQ(s_page.rfind(".TH STORYPORT 1 ", 0), 0u);
    for (const char* pc_part :
         {".SH \"EXIT STATUS\"\n", ".SH ENVIRONMENT\n", ".SH FILES\n", ".SH \"SEE ALSO\"\n",
          "\\fBSTORY_ORDER\\fR\nTakes top\\-down, left\\-right or custom",
          "\\fBIGNORE_STORY_ON_PASTE_BOARD\\fR\nTakes yes or no"}) {
        EXPECT_NE(s_page.find(pc_part), std::string::npos) << pc_part;
    }
    // Said once, in its own section.
    EXPECT_EQ(s_page.find("Exit status:"), std::string::npos);
    for (const char* pc_usage :
         {"storyport list [OPTIONS] DOC", "storyport batch export [OPTIONS] [DOC...]",
          "storyport settings set [OPTIONS] KEY VALUE"}) {
        std::string s_roff;
        for (const char* pc_char = pc_usage; *pc_char != '\0'; ++pc_char) {
            s_roff += *pc_char == '-' ? std::string("\\-") : std::string(1, *pc_char);
        }
        EXPECT_NE(s_page.find(".SS \"" + s_roff + "\""), std::string::npos) << pc_usage;
    }
    v_Write("complete.sh",
            "source storyport.bash\n"
            "complete_line() {\n"
            "    COMP_WORDS=($1); COMP_CWORD=${#COMP_WORDS[@]}\n"
            "    [[ $1 == *' ' ]] && COMP_WORDS+=('') || ((COMP_CWORD--))\n"
            "    COMPREPLY=(); _storyport; echo \"${COMPREPLY[*]}\"\n"
            "}\n"
            "complete_line 'storyport l'\n"
            "complete_line 'storyport batch '\n"
            "complete_line 'storyport list --or'\n"
            "complete_line 'storyport list a.idml --order '\n"
            "complete_line 'storyport --log x.log export --ig'\n"
            "complete_line 'storyport help b'\n"
            "complete_line 'storyport settings set '\n"
            "complete_line 'storyport settings set story-order '\n"
            "complete_line 'storyport --quiet settings set IGNORE_STORY_ON_PASTE_BOARD y'\n"
            "complete_line 'storyport list -'\n");
    const CT_CliResult co_bash = pco_Runner->co_RunProgram("/bin/bash", {"complete.sh"});
    EXPECT_EQ(co_bash.s_Out,
              "list\nexport import\n--order --order-file\ntop-down left-right reading "
              "structure custom\n--ignore-pasteboard\nbatch\n"
              "IMPORT_FOLDER import-folder EXPORT_FOLDER export-folder STORY_ORDER story-order "
              "IGNORE_STORY_ON_PASTE_BOARD ignore-pasteboard\n"
              "top-down left-right custom\nyes\n"
              "-h --help --json --keys --all --order --order-file --ignore-pasteboard --threads "
              "--layers --layer -V --version --settings --log -q --quiet --no-progress\n")
        << co_bash.s_Err;
}
