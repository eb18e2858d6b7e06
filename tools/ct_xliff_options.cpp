#include "tools/ct_xliff_options.h"

#include <CLI/CLI.hpp>

#include <utility>

#include "exchange/ct_language_tag.h"
#include "operations/ct_session.h"

void CT_XliffOptions::sv_AddFormat(CLI::App& co_Command, CT_CommandOptions& co_Options) {
    co_Command
        .add_option("--format", co_Options.s_Format,
                    "tagged (the tagged story file) or xliff (XLIFF 1.2); the default follows the "
                    "file's extension: .xlf and .xliff are XLIFF")
        ->check(CLI::IsMember({"tagged", "xliff"}))
        ->type_name("FORMAT");
}

void CT_XliffOptions::sv_AddExport(CLI::App& co_Command, CT_CommandOptions& co_Options) {
    sv_AddFormat(co_Command, co_Options);
    co_Command
        .add_option("--source-lang", co_Options.s_SourceLanguage,
                    "XLIFF: the document's language, a BCP 47 code such as en-US (default: the "
                    "language most of the document's text is set in, or en when it names none)")
        ->type_name("LANG");
    co_Command
        .add_option("--target-lang", co_Options.s_TargetLanguage,
                    "XLIFF: the language to translate into, a BCP 47 code such as fr-FR "
                    "(required for XLIFF)")
        ->type_name("LANG");
    co_Command.add_flag("--no-target", co_Options.b_NoTarget,
                        "XLIFF: write no <target> copying each source");
    co_Command
        .add_option("--codes", co_Options.s_Codes,
                    "XLIFF: fewer (default) makes formatting runs that differ only in what a "
                    "reader cannot see one run; all gives every run a code of its own")
        ->check(CLI::IsMember({"fewer", "all"}))
        ->type_name("KIND");
    co_Command.add_flag("--no-limits", co_Options.b_NoLimits,
                        "XLIFF: leave out each unit's length limit (maxwidth), its share of the "
                        "characters its story's frames hold");
}

void CT_XliffOptions::sv_AddImport(CLI::App& co_Command, CT_CommandOptions& co_Options) {
    sv_AddFormat(co_Command, co_Options);
    co_Command.add_flag("--require-translated", co_Options.b_RequireTranslated,
                        "XLIFF: refuse the file when a unit is left untranslated");
}

int CT_XliffOptions::si_Check(const CT_CommandOptions& co_Options, std::ostream& co_Err) {
    // A tag that names nothing would go into the file as it is and fail in the CAT tool.
    for (const auto& [pc_option, ps_code] :
         {std::pair{"--source-lang", &co_Options.s_SourceLanguage},
          std::pair{"--target-lang", &co_Options.s_TargetLanguage}}) {
        const std::string s_problem =
            ps_code->empty() ? std::string() : CT_LanguageTag::ss_Problem(*ps_code);
        if (!s_problem.empty()) {
            co_Err << "storyport: " << pc_option << ": " << s_problem << "\n";
            return 2;
        }
    }
    const bool b_export = co_Options.eo_Command == CT_CommandOptions::e_Export ||
                          co_Options.eo_Command == CT_CommandOptions::e_BatchExport;
    const bool b_xliff = co_Options.eo_Command == CT_CommandOptions::e_BatchExport
                             ? co_Options.s_Format == "xliff"
                             : CT_Session::sb_IsXliff(co_Options, co_Options.s_Tagged);
    if (b_export && b_xliff && co_Options.s_TargetLanguage.empty()) {
        co_Err << "storyport: an XLIFF export needs --target-lang, the language to translate into "
                  "(a BCP 47 code such as fr-FR)\n";
        return 2;
    }
    return 0;
}
