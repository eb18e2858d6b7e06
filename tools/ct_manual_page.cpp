#include "tools/ct_manual_page.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <utility>
#include <vector>

#include "operations/ct_setting_words.h"
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

// A list of terms and what they mean.
std::string s_Terms(const std::vector<std::pair<std::string, std::string>>& co_Terms) {
    std::string s_out;
    for (const auto& [s_term, s_meaning] : co_Terms) {
        s_out += ".TP\n\\fB" + s_Roff(s_term) + "\\fR\n" + s_Roff(s_meaning) + "\n";
    }
    return s_out;
}

std::string s_ExitStatus() {
    return ".SH \"EXIT STATUS\"\n" +
           s_Terms({{"0", "Done; for check, the file and the document hold the same stories."},
                    {"1",
                     "An error: the log on standard error says which. A write to standard "
                     "output that failed (a full disk, a closed pipe) is one too."},
                    {"2", "A wrong command line, or none: the usage is shown."},
                    {"3",
                     "check found that the file and the document differ, or import refused "
                     "such a file."},
                    {"130",
                     "Canceled with Ctrl-C (SIGINT); what was being written was left "
                     "as it was."},
                    {"143", "Ended by SIGTERM (129: by SIGHUP), as with Ctrl-C."}});
}

std::string s_Environment() {
    return ".SH ENVIRONMENT\n" +
           s_Terms({{"XDG_CONFIG_HOME",
                     "The folder of the settings file, $XDG_CONFIG_HOME/storyport/settings; "
                     "when unset, empty or relative, ~/.config is used."},
                    {"HOME", "The home folder, for ~/.config."},
                    {"TMPDIR",
                     "Where a run keeps its temporary files (in storyport-UID, a "
                     "folder of the user's own); /tmp when unset."}});
}

// The settings file, each setting with the values it takes.
std::string s_Files() {
    std::string s_settings =
        "The settings, one line each: KEY = \"VALUE\". 'storyport settings set' makes the file "
        "and changes it; a command that only reads them uses the defaults while it is missing.";
    std::vector<std::pair<std::string, std::string>> co_keys;
    for (const std::string& s_key : CT_SettingWords::sco_Keys()) {
        const std::string s_takes =
            CT_SettingWords::ss_Accepted(s_key) + " (default: " +
            (CT_SettingWords::sb_IsNumber(s_key) ? CT_SettingWords::ss_Word(s_key, 0) : "none") +
            ")";
        co_keys.emplace_back(s_key, "Takes " + s_takes + ".");
    }
    return ".SH FILES\n.TP\n\\fI$XDG_CONFIG_HOME/storyport/settings\\fR\n" + s_Roff(s_settings) +
           "\n.RS\n" + s_Terms(co_keys) + ".RE\n" +
           s_Terms({{"DOC.bak", "The document as it was before an import changed it."},
                    {"DOC.order",
                     "The document's own story order (what the HTML map saves), "
                     "followed when the order is custom."}});
}

std::string s_SeeAlso() {
    return ".SH \"SEE ALSO\"\n" +
           s_Roff(
               "XLIFF Version 1.2, OASIS Standard (docs.oasis-open.org/xliff); BCP 47, Tags "
               "for Identifying Languages (RFC 5646); the README of the source tree.") +
           "\n";
}

// The notes of the command, less what a section of its own says.
std::string s_OwnNotes(const std::string& s_Footer) {
    std::string s_notes;
    std::size_t n_start = 0;
    while (n_start < s_Footer.size()) {
        const std::size_t n_end = std::min(s_Footer.find("\n\n", n_start), s_Footer.size());
        const std::string s_paragraph = s_Footer.substr(n_start, n_end - n_start);
        if (s_paragraph.rfind("Exit status:", 0) != 0) {
            s_notes += (s_notes.empty() ? "" : "\n\n") + s_paragraph;
        }
        n_start = n_end + 2;
    }
    return s_notes;
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
    s_out += s_ExitStatus() + s_Environment() + s_Files();
    s_out += ".SH NOTES\n" + s_Notes(s_OwnNotes(co_App.get_footer()));
    return s_out + s_SeeAlso();
}
