#include "tools/ct_command_line.h"

#include <CLI/CLI.hpp>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "operations/ct_setting_words.h"
#include "storyport/operations.h"
#include "tools/ct_bash_completion.h"
#include "tools/ct_command_suggestion.h"
#include "tools/ct_command_tree.h"
#include "tools/ct_help_formatter.h"
#include "tools/ct_manual_page.h"

#include "tools/ct_xliff_options.h"

namespace {
const char* const gpc_Description =
    "storyport prepares IDML documents for translation through XLIFF. It lists the stories of a "
    "document in story order, exports them to an XLIFF 1.2 file for a CAT tool (or to its own "
    "tagged story file), and imports the translated file back into the document, story by "
    "story, by key.";

const char* const gpc_Footer =
    "Exit status: 0 done; 1 an error (the log says which), or output that could not be\n"
    "written; 2 a wrong command line, or none (the usage is shown); 3 check found that file\n"
    "and document differ, or import refused such a file; 130 canceled with Ctrl-C (143 with\n"
    "SIGTERM).\n"
    "\n"
    "The log goes to standard error (and to --log FILE); a progress bar is drawn on a terminal\n"
    "unless --quiet or --no-progress. A file named - is standard input where a translation is\n"
    "read (import, check, map --check: tagged or XLIFF, told by its content) and standard\n"
    "output where a file is exported (export, tagged unless --format xliff; pseudo --xliff).\n"
    "Settings are read from $XDG_CONFIG_HOME/storyport/settings (or\n"
    "~/.config/storyport/settings) unless --settings names another file.\n"
    "\n"
    "Example:\n"
    "  storyport list brochure.idml\n"
    "  storyport export brochure.idml brochure.stt\n"
    "  storyport import brochure.idml fr/brochure.stt\n"
    "\n"
    "Run 'storyport help COMMAND' for the options and examples of a command.";

void v_AddOrderOptions(CLI::App& co_Command, CT_CommandOptions& co_Options, bool b_OrderFile) {
    co_Command
        .add_option("--order", co_Options.s_Order,
                    b_OrderFile ? "story order: top-down, left-right, reading (as a person reads "
                                  "the pages), structure (the document's XML structure), or "
                                  "custom (the default comes from the settings)"
                                : "story order: top-down, left-right, or custom (the default "
                                  "comes from the settings)")
        ->check(b_OrderFile
                    ? CLI::IsMember({"top-down", "left-right", "reading", "structure", "custom"})
                    : CLI::IsMember({"top-down", "left-right", "custom"}))
        ->type_name("ORDER");
    if (b_OrderFile) {
        co_Command
            .add_option("--order-file", co_Options.s_OrderFile,
                        "a file of story keys, one per line: those stories come first on their "
                        "page, in the file's order (a custom order for this run only: give the "
                        "file again to reuse it)")
            ->type_name("FILE");
    }
}

void v_AddPasteboardOption(CLI::App& co_Command, CT_CommandOptions& co_Options) {
    co_Command.add_flag("--ignore-pasteboard", co_Options.b_IgnorePasteBoard,
                        "leave out the stories of frames on the pasteboard");
}

void v_AddLayerOptions(CLI::App& co_Command, CT_CommandOptions& co_Options, bool b_Export) {
    co_Command
        .add_option("--layers", co_Options.s_Layers,
                    b_Export ? "which frames' stories go out: printable (the default: no hidden "
                               "or non-printing frame or layer), visible, or all"
                             : "the layers the file was exported with, so that only the stories "
                               "those leave out may be missing from it: printable (the "
                               "default), visible, or all")
        ->check(CLI::IsMember({"all", "visible", "printable"}))
        ->type_name("WHICH");
    co_Command
        .add_option("--layer", co_Options.co_LayerNames,
                    "only frames on the layer of this name (repeatable), shown or hidden; a "
                    "document without that layer is refused")
        ->type_name("NAME")
        ->allow_extra_args(false);
}

void v_AddNotesOption(CLI::App& co_Command, CT_CommandOptions& co_Options) {
    co_Command
        .add_option("--notes", co_Options.s_Notes,
                    "keep (the default: a note's text stands in a code of its own) or skip (each "
                    "note is one code, kept in the document as it is)")
        ->check(CLI::IsMember({"keep", "skip"}))
        ->type_name("keep|skip");
}

void v_AddThreadsOption(CLI::App& co_Command, CT_CommandOptions& co_Options) {
    co_Command
        .add_option("--threads", co_Options.n_Threads,
                    "threads a document's stories are read on (default: one per core; in a "
                    "batch of several jobs, one); the output is the same whatever the number")
        ->check(CLI::PositiveNumber)
        ->type_name("N");
}

void v_AddBackupOption(CLI::App& co_Command, CT_CommandOptions& co_Options) {
    co_Command.add_flag("--no-backup", co_Options.b_NoBackup,
                        "do not keep the document as it was in a backup (DOC.bak)");
}

void v_AddAllowDifferencesOption(CLI::App& co_Command, CT_CommandOptions& co_Options) {
    co_Command.add_flag("--allow-differences", co_Options.b_AllowDifferences,
                        "import even when a key stands twice in the tagged file or the file "
                        "lacks some of the document's stories");
}

void v_AddDocumentAndTagged(CLI::App& co_Command, CT_CommandOptions& co_Options,
                            const char* pc_TaggedHelp) {
    co_Command.add_option("DOC", co_Options.s_Document, "the document, an IDML package")
        ->required();
    co_Command.add_option("TAGGED", co_Options.s_Tagged, pc_TaggedHelp)->required();
}

void v_AddList(CLI::App& co_App, CT_CommandOptions& co_Options) {
    CLI::App* pco_list = co_App.add_subcommand("list", "List the stories of a document");
    pco_list->add_option("DOC", co_Options.s_Document, "the document, an IDML package")->required();
    CLI::Option* pco_json =
        pco_list->add_flag("--json", co_Options.b_Json, "write the list as JSON, for scripts");
    pco_list
        ->add_flag("--keys", co_Options.b_Keys,
                   "write only the story keys, one per line: a file for --order-file")
        ->excludes(pco_json);
    pco_list->add_flag("--all", co_Options.b_All,
                       "show the stories left out too, marked with the reason (--json always "
                       "does)");
    v_AddOrderOptions(*pco_list, co_Options, true);
    v_AddPasteboardOption(*pco_list, co_Options);
    v_AddThreadsOption(*pco_list, co_Options);
    v_AddLayerOptions(*pco_list, co_Options, true);
    pco_list->footer(
        "The stories are shown in story order under their page groups (master pages, the\n"
        "pasteboard, each page), each with its numbered label, its key, its place, its layer and\n"
        "the words and characters a translator is paid for (paragraphs of codes and numbers alone\n"
        "are not counted); \"repeated\" counts paragraphs met earlier in the order. Totals end\n"
        "the list. Stories of hidden or non-printing frames and layers are left out unless\n"
        "--layers says otherwise; the log says how many.\n"
        "\n"
        "Example:\n"
        "  storyport list brochure.idml --order left-right\n"
        "  storyport list brochure.idml --keys > order.txt   # edit, then --order-file order.txt");
    pco_list->callback([&co_Options] { co_Options.eo_Command = CT_CommandOptions::e_List; });
}

void v_AddMaxGrowthOption(CLI::App& co_Command, CT_CommandOptions& co_Options) {
    co_Command
        .add_option("--max-growth", co_Options.d_MaxGrowth,
                    "the growth in percent that a story in a frame of its own may take before "
                    "it is flagged (default 15)")
        ->check(CLI::Range(0.0, 10000.0))
        ->type_name("PERCENT");
}

void v_AddMap(CLI::App& co_App, CT_CommandOptions& co_Options) {
    CLI::App* pco_map = co_App.add_subcommand(
        "map", "Draw the pages with their frames, numbered in story order, to SVG or HTML");
    pco_map->add_option("DOC", co_Options.s_Document, "the document, an IDML package")->required();
    pco_map
        ->add_option("OUT", co_Options.s_MapFile,
                     "the picture to write: NAME.svg, or NAME.html for a page with the story "
                     "list beside the picture")
        ->required()
        ->check(
            [](const std::string& s_Path) {
                return CT_Operations::sb_IsMapName(s_Path)
                           ? std::string()
                           : std::string("the picture's name must end in .svg or .html");
            },
            "NAME.svg|NAME.html");
    v_AddOrderOptions(*pco_map, co_Options, true);
    v_AddPasteboardOption(*pco_map, co_Options);
    pco_map
        ->add_option("--check", co_Options.s_CheckFile,
                     "a translation, as a tagged story file or XLIFF: frames whose stories may "
                     "overflow are red")
        ->type_name("TRANSLATED");
    v_AddMaxGrowthOption(*pco_map, co_Options);
    v_AddLayerOptions(*pco_map, co_Options, true);
    pco_map->footer(
        "Pages are drawn to scale, master spreads first, each spread's pasteboard beside it.\n"
        "Every text frame shows the number of its story in the story order; threaded frames\n"
        "are joined by arrows, a thin line follows the story order from story to story, and\n"
        "frames whose stories are left out (the pasteboard with --ignore-pasteboard) are grey.\n"
        "Each frame is an SVG group with data-key (the story key) and data-order (its number,\n"
        "0 when left out). The HTML page is self-contained: pointing at or clicking a frame\n"
        "shows its key, label and preview. With --check, frames whose stories may overflow,\n"
        "as check judges them, are red.\n"
        "\n"
        "Example:\n"
        "  storyport map brochure.idml brochure-map.html --order left-right\n"
        "  storyport map brochure.idml fit.html --check brochure.fr.stt");
    pco_map->callback([&co_Options] { co_Options.eo_Command = CT_CommandOptions::e_Map; });
}

void v_AddForceOption(CLI::App& co_Command, CT_CommandOptions& co_Options,
                      const std::string& s_File) {
    co_Command.add_flag("--force", co_Options.b_Force,
                        "replace " + s_File +
                            " even when it holds a translation or is not a tagged story or "
                            "XLIFF file, keeping it as a backup");
}

void v_AddExport(CLI::App& co_App, CT_CommandOptions& co_Options) {
    CLI::App* pco_export =
        co_App.add_subcommand("export", "Export the stories of a document to a tagged story file");
    v_AddDocumentAndTagged(*pco_export, co_Options,
                           "the tagged story file or XLIFF file to write (replaced only when the "
                           "export ends), or - for standard output");
    v_AddOrderOptions(*pco_export, co_Options, true);
    CT_XliffOptions::sv_AddExport(*pco_export, co_Options);
    v_AddPasteboardOption(*pco_export, co_Options);
    v_AddThreadsOption(*pco_export, co_Options);
    v_AddLayerOptions(*pco_export, co_Options, true);
    v_AddNotesOption(*pco_export, co_Options);
    v_AddForceOption(*pco_export, co_Options, "TAGGED");
    pco_export->footer(
        "An existing TAGGED is replaced only when it holds no translation: an XLIFF file with\n"
        "a translated unit, or a tagged story file whose stories' text differs from the\n"
        "document's, is left as it is unless --force is given, which keeps it as TAGGED.bak\n"
        "(or TAGGED.bak.2, ...) first. A missing folder of TAGGED is made.\n"
        "\n"
        "Example:\n"
        "  storyport export brochure.idml brochure.stt --order-file order.txt");
    pco_export->callback([&co_Options] { co_Options.eo_Command = CT_CommandOptions::e_Export; });
}

void v_AddImport(CLI::App& co_App, CT_CommandOptions& co_Options) {
    CLI::App* pco_import =
        co_App.add_subcommand("import", "Import a translated tagged story file into its document");
    v_AddDocumentAndTagged(*pco_import, co_Options,
                           "the translated tagged story file or XLIFF file to read, or - for "
                           "standard input");
    v_AddPasteboardOption(*pco_import, co_Options);
    v_AddThreadsOption(*pco_import, co_Options);
    v_AddLayerOptions(*pco_import, co_Options, false);
    CT_XliffOptions::sv_AddImport(*pco_import, co_Options);
    v_AddBackupOption(*pco_import, co_Options);
    v_AddAllowDifferencesOption(*pco_import, co_Options);
    pco_import->footer(
        "Each story goes into the frame whose key its start tag names. The document is changed\n"
        "only when the whole import succeeds; the document as it was is kept in DOC.bak (or,\n"
        "when that is taken, DOC.bak.2, DOC.bak.3, ...: no backup is ever replaced).\n"
        "\n"
        "Example:\n"
        "  storyport check brochure.idml fr/brochure.stt &&\n"
        "    storyport import brochure.idml fr/brochure.stt");
    pco_import->callback([&co_Options] { co_Options.eo_Command = CT_CommandOptions::e_Import; });
}

void v_AddCheck(CLI::App& co_App, CT_CommandOptions& co_Options) {
    CLI::App* pco_check =
        co_App.add_subcommand("check", "Tell whether importing a tagged story file would be clean");
    v_AddDocumentAndTagged(*pco_check, co_Options,
                           "the tagged story file or XLIFF file to compare, or - for standard "
                           "input");
    v_AddPasteboardOption(*pco_check, co_Options);
    v_AddThreadsOption(*pco_check, co_Options);
    v_AddMaxGrowthOption(*pco_check, co_Options);
    pco_check->add_flag("--json", co_Options.b_Json, "write the findings and the fit as JSON");
    v_AddLayerOptions(*pco_check, co_Options, false);
    CT_XliffOptions::sv_AddImport(*pco_check, co_Options);
    pco_check->footer(
        "Compares the story counts, the file name, the keys the document lacks and the stories\n"
        "the file lacks, then tries the import on a copy. Exit status 0 when an import would be\n"
        "clean, 3 when file and document differ, 1 when a story would be refused.\n"
        "Then shows, story by story, the translation's length against the source (characters\n"
        "other than spaces) and against the capacity estimated for its frames, with a verdict:\n"
        "fits, tight (over 90 % full) or overflows, and the page and frame to look at. Stories\n"
        "that do not print are listed apart. Where frames cannot be measured, a story that grew\n"
        "by more than --max-growth in a frame with no threaded continuation may overflow.\n"
        "\n"
        "Example:\n"
        "  storyport check brochure.idml fr/brochure.stt");
    pco_check->callback([&co_Options] { co_Options.eo_Command = CT_CommandOptions::e_Check; });
}

void v_AddPseudo(CLI::App& co_App, CT_CommandOptions& co_Options) {
    CLI::App* pco_pseudo = co_App.add_subcommand(
        "pseudo", "Write a pseudo-translated copy of a document, to see what would overflow");
    pco_pseudo->add_option("DOC", co_Options.s_Document, "the document, an IDML package")
        ->required();
    pco_pseudo->add_option("OUT", co_Options.s_Pseudo, "the copy to write, NAME.idml")->required();
    CLI::Option* pco_expand =
        pco_pseudo
            ->add_option("--expand", co_Options.d_Expand,
                         "lengthen every paragraph by this percentage (default 30)")
            ->check(CLI::Range(0.0, 1000.0))
            ->type_name("PERCENT");
    pco_pseudo
        ->add_option("--target-lang", co_Options.s_TargetLanguage,
                     "lengthen as a translation into this language usually does (fr: 20 %, "
                     "de: 35 %, ...); the XLIFF file's target language")
        ->excludes(pco_expand)
        ->type_name("LANG");
    pco_pseudo
        ->add_option("--xliff", co_Options.s_PseudoXliff,
                     "write the same pseudo-translation as a translated XLIFF file too")
        ->type_name("OUT.xlf");
    v_AddLayerOptions(*pco_pseudo, co_Options, true);
    v_AddForceOption(*pco_pseudo, co_Options, "OUT");
    pco_pseudo->footer(
        "Letters become accented ones, every paragraph grows by the percentage (its letters\n"
        "doubled here and there) and stands between [ and ], so that a cut end shows; codes,\n"
        "styles and layout stay. The document is not changed. OUT (and the XLIFF file) are\n"
        "refused as export refuses its file; a missing folder is made.\n"
        "\n"
        "Example:\n"
        "  storyport pseudo brochure.idml brochure.pseudo.idml --target-lang de\n"
        "  storyport pseudo brochure.idml p.idml --xliff p.xlf && storyport check brochure.idml "
        "p.xlf");
    pco_pseudo->callback([&co_Options] { co_Options.eo_Command = CT_CommandOptions::e_Pseudo; });
}

void v_AddBatchKind(CLI::App& co_Batch, CT_CommandOptions& co_Options, bool b_Export) {
    CLI::App* pco_kind = co_Batch.add_subcommand(
        b_Export ? "export" : "import", b_Export ? "Export every document to DIR/NAME.stt"
                                                 : "Import DIR/NAME.stt into every document");
    pco_kind
        ->add_option("--folder", co_Options.s_Folder,
                     b_Export ? "folder of the tagged files (default: EXPORT_FOLDER of the "
                                "settings); made when missing"
                              : "folder of the tagged files (default: IMPORT_FOLDER of the "
                                "settings)")
        ->type_name("DIR");
    pco_kind->add_option("DOC", co_Options.co_Documents,
                         "the documents, or folders to take the documents from");
    pco_kind->add_flag("--recursive", co_Options.b_Recursive,
                       "take the documents of a folder's subfolders too (links to folders are "
                       "not followed)");
    pco_kind
        ->add_option("--include", co_Options.co_Include,
                     "in a folder, take the files that match this pattern (repeatable; default "
                     "*.idml in any case); a pattern with a slash matches the path below the "
                     "folder, any other the name")
        ->type_name("PATTERN")
        ->allow_extra_args(false);
    pco_kind
        ->add_option("--exclude", co_Options.co_Exclude,
                     "in a folder, leave out the files and subfolders that match this pattern "
                     "(repeatable)")
        ->type_name("PATTERN")
        ->allow_extra_args(false);
    pco_kind
        ->add_option("--files-from", co_Options.s_FilesFrom,
                     "take the documents listed in FILE too, one path a line (- for standard "
                     "input); each keeps its folders below DIR")
        ->type_name("FILE|-");
    pco_kind
        ->add_option("--jobs", co_Options.n_Jobs,
                     "documents handled at the same time, each in a process of its own "
                     "(default: one per core); the log keeps the order of the documents")
        ->check(CLI::PositiveNumber)
        ->type_name("N");
    pco_kind->add_flag("--worker", co_Options.b_Worker)->group("");
    if (b_Export) {
        v_AddOrderOptions(*pco_kind, co_Options, false);
        CT_XliffOptions::sv_AddExport(*pco_kind, co_Options);
    } else {
        CT_XliffOptions::sv_AddImport(*pco_kind, co_Options);
    }
    v_AddPasteboardOption(*pco_kind, co_Options);
    v_AddThreadsOption(*pco_kind, co_Options);
    v_AddLayerOptions(*pco_kind, co_Options, b_Export);
    if (b_Export) {
        v_AddNotesOption(*pco_kind, co_Options);
        v_AddForceOption(*pco_kind, co_Options, "a document's file");
    }
    if (!b_Export) {
        v_AddBackupOption(*pco_kind, co_Options);
        v_AddAllowDifferencesOption(*pco_kind, co_Options);
    }
    pco_kind->footer(
        b_Export ? "A document found in a subfolder of a folder named, or listed with its\n"
                   "folders, has its file in the same subfolder of DIR. A file that holds a\n"
                   "translation is left as it is (see export --force). Documents that would\n"
                   "write the same file are refused before anything is written.\n\n"
                   "Example:\n"
                   "  storyport batch export --folder out *.idml\n"
                   "  storyport batch export --folder out --recursive catalogue\n"
                   "  find . -name '*.idml' | storyport batch export --folder out --files-from -"
                 : "Each document reads its file where the export wrote it. A document is\n"
                   "changed only when its own import succeeds.\n\n"
                   "Example:\n"
                   "  storyport batch import --folder translated *.idml\n"
                   "  storyport batch import --folder translated --recursive catalogue");
    const CT_CommandOptions::et_Command eo_command =
        b_Export ? CT_CommandOptions::e_BatchExport : CT_CommandOptions::e_BatchImport;
    pco_kind->callback([&co_Options, eo_command] {
        if (co_Options.co_Documents.empty() && co_Options.s_FilesFrom.empty()) {
            throw CLI::RequiredError("DOC or --files-from");
        }
        co_Options.eo_Command = eo_command;
    });
}

void v_AddBatch(CLI::App& co_App, CT_CommandOptions& co_Options) {
    CLI::App* pco_batch = co_App.add_subcommand("batch", "Export or import a list of documents");
    pco_batch->footer(
        "Several documents are handled at once, one per core unless --jobs says otherwise;\n"
        "the log lists them in their order all the same. A document that fails is reported\n"
        "and the batch goes on; a summary line ends it.\n"
        "\n"
        "Example:\n"
        "  storyport batch export --folder out a.idml b.idml");
    pco_batch->require_subcommand(1);
    v_AddBatchKind(*pco_batch, co_Options, true);
    v_AddBatchKind(*pco_batch, co_Options, false);
}

void v_AddSettings(CLI::App& co_App, CT_CommandOptions& co_Options) {
    CLI::App* pco_settings = co_App.add_subcommand("settings", "Show or change the settings");
    pco_settings->require_subcommand(0, 1);
    pco_settings->add_subcommand("show", "Write the settings file's path and its four values")
        ->footer("Example:\n  storyport settings show --settings project.settings");
    CLI::App* pco_set = pco_settings->add_subcommand("set", "Change one setting and save");
    pco_set->footer(
        "The values are written as 'settings show' prints them.\n"
        "\n"
        "Example:\n"
        "  storyport settings set ignore-pasteboard yes");
    std::string s_keys;
    std::string s_spellings;
    std::string s_values;
    for (const std::string& s_key : CT_SettingWords::sco_Keys()) {
        const bool b_last = s_key == CT_SettingWords::sco_Keys().back();
        const char* pc_between = s_keys.empty() ? "" : b_last ? " or " : ", ";
        s_keys += pc_between + s_key;
        s_spellings += (s_spellings.empty() ? "" : ", ") + CT_SettingWords::ss_Spelling(s_key);
        s_values +=
            (s_values.empty() ? "" : "; ") + s_key + ": " + CT_SettingWords::ss_Accepted(s_key);
    }
    pco_set->add_option("KEY", co_Options.s_SettingsKey, s_keys + " (or " + s_spellings + ")")
        ->required();
    pco_set->add_option("VALUE", co_Options.s_SettingsValue, s_values)->required();
    pco_settings->footer(
        "'storyport settings' alone shows the settings, as 'settings show' does.\n"
        "\n"
        "Example:\n"
        "  storyport settings set story-order left-right\n"
        "  storyport settings set export-folder ~/translation/out");
    pco_settings->callback([&co_Options, pco_set] {
        co_Options.eo_Command = pco_set->parsed() ? CT_CommandOptions::e_SettingsSet
                                                  : CT_CommandOptions::e_SettingsShow;
    });
}

// What the help command was asked about.
void v_AddHelp(CLI::App& co_App, std::vector<std::string>& co_Topic, bool& b_Asked) {
    CLI::App* pco_help = co_App.add_subcommand("help", "Show the help of a command");
    pco_help->add_option("COMMAND", co_Topic, "the command, e.g. list or batch export");
    pco_help->footer(
        "Example:\n"
        "  storyport help batch export");
    pco_help->callback([&b_Asked] { b_Asked = true; });
}

std::vector<std::string> co_Names(const std::vector<const CLI::App*>& co_Commands) {
    std::vector<std::string> co_names;
    for (const CLI::App* pco_command : co_Commands) {
        co_names.push_back(pco_command->get_name());
    }
    return co_names;
}

// The long option names that co_App and the commands above it take.
std::vector<std::string> co_OptionNames(const CLI::App& co_App) {
    std::vector<std::string> co_names;
    for (const CLI::App* pco_app = &co_App; pco_app != nullptr; pco_app = pco_app->get_parent()) {
        for (const CLI::Option* pco_option : CT_CommandTree::sco_Options(*pco_app)) {
            for (const std::string& s_long : pco_option->get_lnames()) {
                co_names.push_back("--" + s_long);
            }
        }
    }
    return co_names;
}

const CLI::Option* pco_FindOption(const CLI::App& co_App, const std::string& s_Name) {
    for (const CLI::App* pco_app = &co_App; pco_app != nullptr; pco_app = pco_app->get_parent()) {
        if (const CLI::Option* pco_option = pco_app->get_option_no_throw(s_Name)) {
            return pco_option;
        }
    }
    return nullptr;
}

const CLI::App* pco_FindCommand(const CLI::App& co_App, const std::string& s_Name) {
    for (const CLI::App* pco_command : CT_CommandTree::sco_Commands(co_App)) {
        if (pco_command->get_name() == s_Name) {
            return pco_command;
        }
    }
    return nullptr;
}

std::string s_HelpOf(const CLI::App& co_Command) {
    const CLI::App* pco_top = &co_Command;
    while (pco_top->get_parent() != nullptr) {
        pco_top = pco_top->get_parent();
    }
    return pco_top->get_formatter()->make_help(&co_Command, "", CLI::AppFormatMode::Normal);
}

void v_RefuseCommand(const CLI::App& co_App, const std::string& s_Word, std::ostream& co_Err) {
    // "batch " under "storyport batch", nothing at the top.
    std::string s_above = CT_CommandTree::ss_Path(co_App) + " ";
    s_above.erase(0, s_above.find(' ') + 1);
    const std::string s_near =
        CT_CommandSuggestion::ss_Nearest(s_Word, co_Names(CT_CommandTree::sco_Commands(co_App)));
    co_Err << "storyport: unknown command '" << s_above << s_Word << "'";
    if (s_near.empty()) {
        std::string s_help = "storyport help " + s_above;
        s_help.pop_back();
        co_Err << "; '" << s_help << "' lists the commands\n";
    } else {
        co_Err << "; did you mean '" << s_above << s_near << "'?\n";
    }
}

// The command the words name, read the way the parser will read them, so that a word that names
// no command or option can be refused with a suggestion before the parser refuses it in its own
// words. Sets pco_Command to the last command named; false when a word was refused.
bool b_ScanWords(const CLI::App& co_App, int i_Argc, const char* const* ppc_Argv,
                 const CLI::App*& pco_Command, bool& b_AskedForHelp, std::ostream& co_Err) {
    pco_Command = &co_App;
    bool b_operands = false;
    for (int i_arg = 1; i_arg < i_Argc; ++i_arg) {
        const std::string s_word = ppc_Argv[i_arg];
        if (s_word == "--") {
            return true;
        }
        if (s_word.size() > 1 && s_word.front() == '-') {
            const std::string s_name = s_word.substr(0, s_word.find('='));
            const CLI::Option* pco_option = pco_FindOption(*pco_Command, s_name);
            if (pco_option == nullptr) {
                if (s_name.rfind("--", 0) != 0 && s_name.size() > 2) {
                    continue;  // grouped short flags: the parser says what is wrong
                }
                const std::string s_near =
                    CT_CommandSuggestion::ss_Nearest(s_name, co_OptionNames(*pco_Command));
                co_Err << "storyport: unknown option '" << s_name << "' for '"
                       << CT_CommandTree::ss_Path(*pco_Command) << "'";
                co_Err << (s_near.empty() ? "" : "; did you mean '" + s_near + "'?") << "\n";
                return false;
            }
            b_AskedForHelp = b_AskedForHelp || pco_option == pco_Command->get_help_ptr() ||
                             pco_option == co_App.get_help_ptr();
            if (pco_option->get_items_expected_max() > 0 && s_word.find('=') == std::string::npos) {
                ++i_arg;
            }
            continue;
        }
        if (b_operands) {
            continue;
        }
        if (const CLI::App* pco_next = pco_FindCommand(*pco_Command, s_word)) {
            pco_Command = pco_next;
            continue;
        }
        if (!CT_CommandTree::sco_Commands(*pco_Command).empty() &&
            CT_CommandTree::sco_Operands(*pco_Command).empty()) {
            v_RefuseCommand(*pco_Command, s_word, co_Err);
            return false;
        }
        b_operands = true;
    }
    return true;
}

// Answers "storyport help WORDS...": the help of the command the words name.
int i_Help(const CLI::App& co_App, const std::vector<std::string>& co_Topic, std::ostream& co_Out,
           std::ostream& co_Err) {
    const CLI::App* pco_command = &co_App;
    for (const std::string& s_word : co_Topic) {
        const CLI::App* pco_next = pco_FindCommand(*pco_command, s_word);
        if (pco_next == nullptr) {
            v_RefuseCommand(*pco_command, s_word, co_Err);
            return 2;
        }
        pco_command = pco_next;
    }
    co_Out << s_HelpOf(*pco_command);
    return 0;
}

// Writes a file that the build makes from the command's own definition.
int i_Generate(const std::string& s_Path, const std::string& s_Text, std::ostream& co_Err) {
    std::ofstream co_file(s_Path, std::ios::binary | std::ios::trunc);
    co_file << s_Text;
    co_file.close();
    if (!co_file) {
        co_Err << "storyport: cannot write " << s_Path << "\n";
        return 1;
    }
    return 0;
}
}  // namespace

int CT_CommandLine::si_Parse(int i_Argc, const char* const* ppc_Argv, CT_CommandOptions& co_Options,
                             std::ostream& co_Out, std::ostream& co_Err) {
    CLI::App co_app(gpc_Description, "storyport");
    // Set first: the commands below take the formatter and the help flag from here.
    co_app.formatter(std::make_shared<CT_HelpFormatter>(CT_HelpFormatter::sn_TerminalWidth()));
    co_app.set_help_flag("-h,--help", "show this help");
    const std::string s_version = std::string("storyport ") + STORYPORT_VERSION;
    co_app.set_version_flag("-V,--version", s_version, "show the version");
    co_app.require_subcommand(0, 1);
    // Global options may stand after the command too: subcommands hand unknown options up.
    co_app.fallthrough();
    co_app.add_option("--settings", co_Options.s_SettingsFile, "the settings file to use")
        ->type_name("FILE");
    co_app.add_option("--log", co_Options.s_LogFile, "append the log to this file as well")
        ->type_name("FILE");
    co_app.add_flag("-q,--quiet", co_Options.b_Quiet,
                    "no progress line and no summary: only errors and warnings on standard error "
                    "(the --log file still gets every line)");
    co_app.add_flag("--no-progress", co_Options.b_NoProgress,
                    "draw no progress line, even on a terminal");
    // Hidden: the build writes the manual page and the completion script with these.
    std::string s_manual;
    std::string s_completion;
    co_app.add_option("--generate-man", s_manual)->group("");
    co_app.add_option("--generate-completion", s_completion)->group("");
    v_AddList(co_app, co_Options);
    v_AddMap(co_app, co_Options);
    v_AddExport(co_app, co_Options);
    v_AddImport(co_app, co_Options);
    v_AddCheck(co_app, co_Options);
    v_AddPseudo(co_app, co_Options);
    v_AddBatch(co_app, co_Options);
    v_AddSettings(co_app, co_Options);
    std::vector<std::string> co_topic;
    bool b_help = false;
    v_AddHelp(co_app, co_topic, b_help);
    // Set last, so that no command takes it for its own.
    co_app.footer(gpc_Footer);

    const CLI::App* pco_named = nullptr;
    bool b_askedForHelp = false;
    if (!b_ScanWords(co_app, i_Argc, ppc_Argv, pco_named, b_askedForHelp, co_Err)) {
        return 2;
    }
    // A command that only groups others, named alone: what it offers is the answer.
    if (!b_askedForHelp && pco_named != &co_app && pco_named->get_require_subcommand_min() > 0) {
        co_Out << s_HelpOf(*pco_named);
        return 2;
    }
    try {
        co_app.parse(i_Argc, ppc_Argv);
    } catch (const CLI::CallForHelp& co_help) {
        return co_app.exit(co_help, co_Out, co_Err);
    } catch (const CLI::CallForVersion& co_version) {
        return co_app.exit(co_version, co_Out, co_Err);
    } catch (const CLI::ParseError& co_error) {
        co_Err << "storyport: " << co_error.what() << "\n"
               << "Usage: " << CT_CommandTree::ss_Usage(*pco_named) << "\n";
        return 2;
    }
    if (!s_manual.empty()) {
        return i_Generate(s_manual, CT_ManualPage::ss_Write(co_app, s_version), co_Err);
    }
    if (!s_completion.empty()) {
        return i_Generate(s_completion, CT_BashCompletion::ss_Write(co_app), co_Err);
    }
    if (b_help) {
        return i_Help(co_app, co_topic, co_Out, co_Err);
    }
    if (co_Options.eo_Command == CT_CommandOptions::e_None) {
        // Nothing asked: the usage and the commands, and a status that tells a script so.
        co_Out << s_HelpOf(co_app);
        return 2;
    }
    return CT_XliffOptions::si_Check(co_Options, co_Err) == 0 ? -1 : 2;
}
