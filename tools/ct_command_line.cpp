#include "tools/ct_command_line.h"

#include <CLI/CLI.hpp>

#include <string>

#include "tools/ct_map_command.h"

namespace {
const char* const gpc_Description =
    "storyport prepares IDML documents for translation. It lists the stories of a document in "
    "story order, exports them into one tagged story file for a translator, and imports the "
    "translated file back into the document, story by story, by key.";

const char* const gpc_Footer =
    "Exit status: 0 done; 1 an error (the log says which); 2 a wrong command line; 3 check found\n"
    "that file and document differ; 130 canceled with Ctrl-C.\n"
    "\n"
    "The log goes to standard error (and to --log FILE); a progress bar is drawn on a terminal.\n"
    "Settings are read from $XDG_CONFIG_HOME/storyport/settings (or ~/.config/storyport/\n"
    "settings) unless --settings names another file.\n"
    "\n"
    "Example:\n"
    "  storyport list brochure.idml\n"
    "  storyport export brochure.idml brochure.stt\n"
    "  storyport import brochure.idml brochure.fr.stt\n"
    "\n"
    "Run 'storyport COMMAND --help' for the options of a command.";

void v_AddOrderOptions(CLI::App& co_Command, CT_CommandOptions& co_Options, bool b_OrderFile) {
    co_Command
        .add_option("--order", co_Options.s_Order,
                    "story order: top-down, left-right, or custom (the default comes from the "
                    "settings)")
        ->check(CLI::IsMember({"top-down", "left-right", "custom"}))
        ->type_name("ORDER");
    if (b_OrderFile) {
        co_Command
            .add_option("--order-file", co_Options.s_OrderFile,
                        "a file of story keys, one per line: those stories come first on their "
                        "page, in the file's order (a custom order, kept and reused)")
            ->type_name("FILE");
    }
}

void v_AddPasteboardOption(CLI::App& co_Command, CT_CommandOptions& co_Options) {
    co_Command.add_flag("--ignore-pasteboard", co_Options.b_IgnorePasteBoard,
                        "leave out the stories of frames on the pasteboard");
}

void v_AddBackupOption(CLI::App& co_Command, CT_CommandOptions& co_Options) {
    co_Command.add_flag("--no-backup", co_Options.b_NoBackup,
                        "do not keep the document as it was in DOC.bak");
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
    v_AddOrderOptions(*pco_list, co_Options, true);
    v_AddPasteboardOption(*pco_list, co_Options);
    pco_list->footer(
        "The stories are shown in story order under their page groups (master pages, the\n"
        "pasteboard, each page), each with its numbered label, its key, its place and the words\n"
        "and characters a translator is paid for (paragraphs of codes and numbers alone are not\n"
        "counted); \"repeated\" counts paragraphs met earlier in the order. Totals end the list.\n"
        "\n"
        "Example:\n"
        "  storyport list brochure.idml --order left-right\n"
        "  storyport list brochure.idml --keys > order.txt   # edit, then --order-file order.txt");
    pco_list->callback([&co_Options] { co_Options.eo_Command = CT_CommandOptions::e_List; });
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
                return CT_MapCommand::sb_IsPictureName(s_Path)
                           ? std::string()
                           : std::string("the picture's name must end in .svg or .html");
            },
            "NAME.svg|NAME.html");
    v_AddOrderOptions(*pco_map, co_Options, true);
    v_AddPasteboardOption(*pco_map, co_Options);
    pco_map->footer(
        "Pages are drawn to scale, master spreads first, each spread's pasteboard beside it.\n"
        "Every text frame shows the number of its story in the story order; threaded frames\n"
        "are joined by arrows, a thin line follows the story order from story to story, and\n"
        "frames whose stories are left out (the pasteboard with --ignore-pasteboard) are grey.\n"
        "Each frame is an SVG group with data-key (the story key) and data-order (its number,\n"
        "0 when left out). The HTML page is self-contained: pointing at or clicking a frame\n"
        "shows its key, label and preview.\n"
        "\n"
        "Example:\n"
        "  storyport map brochure.idml brochure-map.html --order left-right");
    pco_map->callback([&co_Options] { co_Options.eo_Command = CT_CommandOptions::e_Map; });
}

void v_AddExport(CLI::App& co_App, CT_CommandOptions& co_Options) {
    CLI::App* pco_export =
        co_App.add_subcommand("export", "Export the stories of a document to a tagged story file");
    v_AddDocumentAndTagged(*pco_export, co_Options,
                           "the tagged story file to write (replaced only when the export ends)");
    v_AddOrderOptions(*pco_export, co_Options, true);
    v_AddPasteboardOption(*pco_export, co_Options);
    pco_export->footer(
        "Example:\n"
        "  storyport export brochure.idml brochure.stt --order-file order.txt");
    pco_export->callback([&co_Options] { co_Options.eo_Command = CT_CommandOptions::e_Export; });
}

void v_AddImport(CLI::App& co_App, CT_CommandOptions& co_Options) {
    CLI::App* pco_import =
        co_App.add_subcommand("import", "Import a translated tagged story file into its document");
    v_AddDocumentAndTagged(*pco_import, co_Options, "the translated tagged story file to read");
    v_AddPasteboardOption(*pco_import, co_Options);
    v_AddBackupOption(*pco_import, co_Options);
    pco_import->footer(
        "Each story goes into the frame whose key its start tag names. The document is changed\n"
        "only when the whole import succeeds; the document as it was is kept in DOC.bak.\n"
        "\n"
        "Example:\n"
        "  storyport check brochure.idml brochure.fr.stt && "
        "storyport import brochure.idml brochure.fr.stt");
    pco_import->callback([&co_Options] { co_Options.eo_Command = CT_CommandOptions::e_Import; });
}

void v_AddCheck(CLI::App& co_App, CT_CommandOptions& co_Options) {
    CLI::App* pco_check =
        co_App.add_subcommand("check", "Tell whether importing a tagged story file would be clean");
    v_AddDocumentAndTagged(*pco_check, co_Options, "the tagged story file to compare");
    v_AddPasteboardOption(*pco_check, co_Options);
    pco_check->footer(
        "Compares the story counts, the file name, the keys the document lacks and the stories\n"
        "the file lacks, then tries the import on a copy. Exit status 0 when an import would be\n"
        "clean, 3 when file and document differ, 1 when a story would be refused.\n"
        "\n"
        "Example:\n"
        "  storyport check brochure.idml brochure.fr.stt");
    pco_check->callback([&co_Options] { co_Options.eo_Command = CT_CommandOptions::e_Check; });
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
    pco_kind->add_option("DOC", co_Options.co_Documents, "the documents")->required();
    if (b_Export) {
        v_AddOrderOptions(*pco_kind, co_Options, false);
    }
    v_AddPasteboardOption(*pco_kind, co_Options);
    if (!b_Export) {
        v_AddBackupOption(*pco_kind, co_Options);
    }
    pco_kind->footer(b_Export ? "Example:\n  storyport batch export --folder out *.idml"
                              : "A document is changed only when its own import succeeds.\n\n"
                                "Example:\n  storyport batch import --folder translated *.idml");
    const CT_CommandOptions::et_Command eo_command =
        b_Export ? CT_CommandOptions::e_BatchExport : CT_CommandOptions::e_BatchImport;
    pco_kind->callback([&co_Options, eo_command] { co_Options.eo_Command = eo_command; });
}

void v_AddBatch(CLI::App& co_App, CT_CommandOptions& co_Options) {
    CLI::App* pco_batch = co_App.add_subcommand("batch", "Export or import a list of documents");
    pco_batch->footer(
        "The documents are handled one after the other. A document that fails is reported and\n"
        "the batch goes on; a summary line ends it.\n"
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
    pco_settings->add_subcommand("show", "Write the settings file's path and its four values.");
    CLI::App* pco_set = pco_settings->add_subcommand("set", "Change one setting and save.");
    pco_set
        ->add_option("KEY", co_Options.s_SettingsKey,
                     "IMPORT_FOLDER, EXPORT_FOLDER, STORY_ORDER or IGNORE_STORY_ON_PASTE_BOARD "
                     "(or import-folder, export-folder, story-order, ignore-pasteboard)")
        ->required();
    pco_set
        ->add_option("VALUE", co_Options.s_SettingsValue,
                     "a folder; top-down, left-right or custom (or 0, 1, 2); yes or no")
        ->required();
    pco_settings->footer(
        "Without a subcommand the settings are shown.\n"
        "\n"
        "Example:\n"
        "  storyport settings set story-order left-right\n"
        "  storyport settings set export-folder ~/translation/out");
    pco_settings->callback([&co_Options, pco_set] {
        co_Options.eo_Command = pco_set->parsed() ? CT_CommandOptions::e_SettingsSet
                                                  : CT_CommandOptions::e_SettingsShow;
    });
}
}  // namespace

int CT_CommandLine::si_Parse(int i_Argc, const char* const* ppc_Argv, CT_CommandOptions& co_Options,
                             std::ostream& co_Out, std::ostream& co_Err) {
    CLI::App co_app(gpc_Description, "storyport");
    co_app.footer(gpc_Footer);
    co_app.require_subcommand(1);
    // Global options may stand after the command too: subcommands hand unknown options up.
    co_app.fallthrough();
    co_app.add_option("--settings", co_Options.s_SettingsFile, "the settings file to use")
        ->type_name("FILE");
    co_app.add_option("--log", co_Options.s_LogFile, "append the log to this file as well")
        ->type_name("FILE");
    v_AddList(co_app, co_Options);
    v_AddMap(co_app, co_Options);
    v_AddExport(co_app, co_Options);
    v_AddImport(co_app, co_Options);
    v_AddCheck(co_app, co_Options);
    v_AddBatch(co_app, co_Options);
    v_AddSettings(co_app, co_Options);
    try {
        co_app.parse(i_Argc, ppc_Argv);
    } catch (const CLI::ParseError& co_error) {
        const int i_status = co_app.exit(co_error, co_Out, co_Err);
        return i_status == 0 ? 0 : 2;
    }
    return -1;
}
