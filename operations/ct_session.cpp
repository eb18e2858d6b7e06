#include "operations/ct_session.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#include "exchange/ct_xliff_reader.h"
#include "operations/ct_file_kind.h"
#include "operations/ct_order_file.h"
#include "operations/ct_settings_file_check.h"
#include "operations/ct_settings_path.h"
#include "operations/ct_tagged_file.h"
#include "operations/ct_tagged_keys.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_file_bytes.h"
#include "platform/common/ct_res_string.h"
#include "platform/common/ct_run_folder.h"
#include "platform/common/ct_shown.h"
#include "platform/common/ct_work_pool.h"
#include "platform/host/ct_host.h"
#include "reading/ct_idml_reading_layout.h"
#include "reading/ct_reading_order.h"
#include "reading/ct_story_arrangement.h"
#include "reading/ct_structure_order.h"
#include "resources/ct_library.h"
#include "storyorder/ct_story_order.h"

namespace {
constexpr unsigned gn_ErrorMessage = 120;  // "Error: %"

// The orders computed here reach the kernel as a custom arrangement.
et_StoryOrder eo_OrderFromName(const std::string& s_Name) {
    if (s_Name == "left-right") {
        return e_LeftRight;
    }
    return s_Name == "top-down" ? e_TopDown : e_Custom;
}

bool b_IsComputed(const std::string& s_Order) {
    return s_Order == "reading" || s_Order == "structure";
}

bool b_EndsWith(const std::string& s_Text, const std::string& s_End) {
    if (s_Text.size() < s_End.size()) {
        return false;
    }
    for (std::size_t n = 0; n < s_End.size(); ++n) {
        const char c = s_Text[s_Text.size() - s_End.size() + n];
        if (std::tolower(static_cast<unsigned char>(c)) != s_End[n]) {
            return false;
        }
    }
    return true;
}
}  // namespace

CT_Session::CT_Session(const CT_CommandOptions& co_Options, std::ostream& co_Out)
    : co_Options(co_Options),
      co_Sink(co_Out, {ss_ErrorPrefix(), ss_CommandErrorPrefix()}),
      co_LogOutput(&co_Sink),
      co_Log(co_LogOutput) {
    s_SettingsPath = co_Options.s_SettingsFile.empty() ? CT_SettingsPath::s_GetDefault()
                                                       : co_Options.s_SettingsFile;
    if (!co_Options.s_LogFile.empty()) {
        v_CheckLogFile();
        co_Sink.v_OpenFile(co_Options.s_LogFile);
    }
    co_Host.v_SetCancelSource([this] { return b_IsCanceled() ? 1 : 0; });
    // What runs that were killed left in the temporary folder goes with any run that follows.
    CT_RunFolder::sv_SweepTemporary();
    v_Begin(co_Options.eo_Command);
    CT_Host::sv_Install(&co_Host);
}

// The log is appended to: given the path of the document or of another file the command reads
// or writes, it would break that file, so such a path is refused before anything runs.
void CT_Session::v_CheckLogFile() const {
    namespace fs = std::filesystem;
    const std::string& s_log = co_Options.s_LogFile;
    std::error_code co_error;
    // Made absolute first: a path to a file not yet made is not made absolute otherwise.
    const fs::path co_log = fs::weakly_canonical(fs::absolute(s_log, co_error), co_error);
    std::vector<std::string> co_named = co_Options.co_Documents;
    for (const std::string* ps_named :
         {&co_Options.s_Document, &co_Options.s_Tagged, &co_Options.s_OrderFile,
          &co_Options.s_MapFile, &co_Options.s_CheckFile, &s_SettingsPath}) {
        co_named.push_back(*ps_named);
    }
    for (const std::string& s_named : co_named) {
        std::error_code co_other;
        if (!s_named.empty() && !co_error &&
            fs::weakly_canonical(fs::absolute(s_named, co_other), co_other) == co_log &&
            !co_other) {
            CT_Errors::v_ThrowError(
                e_FileOpen, CT_String(("the log file \"" + s_log + "\" is " + s_named +
                                       ", which the command works on: give the log a file of "
                                       "its own")
                                          .c_str()));
        }
    }
    const CT_FileKind::et_Kind eo_kind = CT_FileKind::seo_Guess(CT_FileKind::ss_ReadHead(s_log));
    // A log is written as UTF-8: UTF-16 is no more its text than any other bytes.
    const char* pc_kind = CT_FileKind::spc_Describe(
        eo_kind == CT_FileKind::e_Utf16 ? CT_FileKind::e_Binary : eo_kind);
    if (pc_kind != nullptr) {
        CT_Errors::v_ThrowError(e_FileOpen,
                                CT_String(("the log file \"" + s_log + "\" is " + pc_kind +
                                           ": give the log a file of its own; it was left as it is")
                                              .c_str()));
    }
}

void CT_Session::v_Begin(CT_CommandOptions::et_Command eo_Command) {
    CT_IdmlSelection co_selection;
    if (co_Options.s_Layers == "all") {
        co_selection.eo_Layers = CT_IdmlSelection::e_AllLayers;
    } else if (co_Options.s_Layers == "visible") {
        co_selection.eo_Layers = CT_IdmlSelection::e_VisibleLayers;
    }
    co_selection.co_LayerNames = co_Options.co_LayerNames;
    co_selection.b_ListLeftOut =
        eo_Command == CT_CommandOptions::e_List && (co_Options.b_All || co_Options.b_Json);
    co_Host.v_SetSelection(co_selection);
    co_Host.v_SetSkipNotes(co_Options.s_Notes == "skip");
    co_Host.v_SetThreads(n_Threads());
    // Commands that go through every story once need no story's tree kept: those that only
    // read, and import and check, which import into a story as it is read or parse it again,
    // and then keep it packed. Each keeps of a story no more than it reads: what its codes
    // stand for only for XLIFF and for counts, its whole content only for what writes or
    // weighs it.
    using et_Keep = CT_IdmlHost::et_Keep;
    const bool b_xliff = sb_IsXliff(co_Options, co_Options.s_Tagged);
    et_Keep eo_keep = b_xliff ? et_Keep::e_Codes : et_Keep::e_Content;
    if (eo_Command == CT_CommandOptions::e_List) {
        eo_keep = co_Options.b_Keys ? et_Keep::e_Preview : et_Keep::e_Codes;
    } else if (eo_Command == CT_CommandOptions::e_Import) {
        // An XLIFF file's units are laid over each story as it is read (CT_XliffImport).
        eo_keep = et_Keep::e_Preview;
    }
    co_Host.v_SetReadThrough(
        eo_Command == CT_CommandOptions::e_List || eo_Command == CT_CommandOptions::e_Export ||
            eo_Command == CT_CommandOptions::e_BatchExport ||
            eo_Command == CT_CommandOptions::e_Import || eo_Command == CT_CommandOptions::e_Check,
        eo_keep,
        // What weighs a story's room: check's fit report and the XLIFF writer's limits.
        eo_Command == CT_CommandOptions::e_Check ||
            (b_xliff && eo_Command != CT_CommandOptions::e_Import &&
             eo_Command != CT_CommandOptions::e_List));
    // An XLIFF file's source language is the document's own when it goes out, and is checked
    // against it when it comes back.
    co_Host.v_SetCountLanguages(b_xliff && eo_Command != CT_CommandOptions::e_List &&
                                (co_Options.s_SourceLanguage.empty() ||
                                 eo_Command == CT_CommandOptions::e_Import ||
                                 eo_Command == CT_CommandOptions::e_Check));
    if (eo_Command != CT_CommandOptions::e_List && eo_Command != CT_CommandOptions::e_Export &&
        eo_Command != CT_CommandOptions::e_BatchExport && eo_Command != CT_CommandOptions::e_Map) {
        co_Host.v_SetLeftOutReporter({});
        return;
    }
    const bool b_listed = co_selection.b_ListLeftOut;
    co_Host.v_SetLeftOutReporter([this, b_listed](const std::string& s_Lines, unsigned n_Left) {
        std::string s_lines = s_Lines;
        if (n_Left > 0 && !b_listed) {
            s_lines += n_Left == 1 ? " 'list --all' shows it." : " 'list --all' shows them.";
        }
        for (std::size_t n_end; (n_end = s_lines.find('\n')) != std::string::npos;) {
            v_LogLine(s_lines.substr(0, n_end));
            s_lines.erase(0, n_end + 1);
        }
        if (!s_lines.empty()) {
            v_LogLine(s_lines);
        }
    });
}

void CT_Session::v_ListStoriesOfFile(const std::string& s_Document, const std::string& s_Tagged) {
    if (!sb_IsXliff(co_Options, s_Tagged)) {
        co_Host.v_AlwaysList(s_Document, CT_TaggedKeys::sco_ReadOrNone(s_Tagged));
        return;
    }
    // An XLIFF file names its stories in its groups; one that cannot be read names none, and
    // the import that follows says why.
    std::vector<std::string> co_keys;
    try {
        CT_FileBytes co_bytes(s_Tagged);
        co_keys = CT_XliffReader::sco_StoryKeys(co_bytes);
    } catch (et_ErrorCode) {
        // Read again by the import, which refuses it in its own words.
    }
    co_Host.v_AlwaysList(s_Document, co_keys);
}

void CT_Session::v_ListStoriesOf(const std::string& s_Document, const CT_TaggedFile& co_Tagged) {
    co_Host.v_AlwaysList(s_Document, co_Tagged.co_Keys());
}

CT_IdmlHost::CT_Contents CT_Session::pco_ImportAhead(const std::string& s_Document,
                                                     const CT_TaggedFile& co_Tagged) {
    CT_IdmlHost::CT_Contents pco_contents = co_Tagged.pco_Contents();
    co_Host.v_ImportAhead(s_Document, pco_contents);
    return pco_contents;
}

void CT_Session::v_SetCancelSource(std::function<bool()> co_Source) {
    co_Cancel = std::move(co_Source);
}

unsigned CT_Session::n_Threads() const {
    // The workers of a parallel batch have the cores between them already.
    return co_Options.n_Threads != 0 ? co_Options.n_Threads
           : co_Options.b_Worker     ? 1
                                     : CT_WorkPool::sn_Threads(0);
}

bool CT_Session::sb_IsXliff(const CT_CommandOptions& co_Options, const std::string& s_Path) {
    if (!co_Options.s_Format.empty()) {
        return co_Options.s_Format == "xliff";
    }
    return b_EndsWith(s_Path, ".xlf") || b_EndsWith(s_Path, ".xliff");
}

CT_Session::~CT_Session() {
    CT_Host::sv_Install(nullptr);
    co_Sink.v_Finish();
}

CT_Settings& CT_Session::co_LoadSettings() {
    if (pco_Settings) {
        return *pco_Settings;
    }
    pco_Settings = std::make_unique<CT_Settings>(CT_String(s_SettingsPath.c_str()));
    const bool b_chosen = !co_Options.s_SettingsFile.empty();
    std::error_code co_error;
    // Only set makes the file: the kernel's load would make it, so a command that only reads
    // settings takes the defaults it would write.
    if (co_Options.eo_Command != CT_CommandOptions::e_SettingsSet && !s_SettingsPath.empty() &&
        !std::filesystem::exists(std::filesystem::symlink_status(s_SettingsPath, co_error))) {
        // A file the user named that is not there is most likely a slip of the keyboard. A
        // batch's workers are handed the path by their parent, which has said so already.
        if (b_chosen && !co_Options.b_Worker) {
            v_LogLine("Warning: the settings file " + s_SettingsPath +
                      " is not there: the default settings are used");
        }
        return *pco_Settings;
    }
    try {
        if (s_SettingsPath.empty()) {
            CT_Errors::v_ThrowError(e_FileOpen, "no home folder for the settings file");
        }
        if (!b_chosen) {
            CT_SettingsPath::sv_CreateFolder(s_SettingsPath);
        }
        v_LoadSettingsFile();
        v_CheckSettingsFile();
    } catch (et_ErrorCode) {
        if (b_chosen) {
            throw;
        }
        v_LogLine("Warning: the default settings are used: " +
                  std::string(CT_Errors::cco_GetLastError().sv()));
        CT_Errors::v_ResetError();
        pco_Settings = std::make_unique<CT_Settings>(CT_String(s_SettingsPath.c_str()));
    }
    return *pco_Settings;
}

// The reader takes a word as 0: a file that holds the words show prints is read from a copy
// that holds their numbers instead.
void CT_Session::v_LoadSettingsFile() {
    std::ifstream co_in(s_SettingsPath, std::ios::binary);
    const std::string s_bytes =
        co_in ? std::string(std::istreambuf_iterator<char>(co_in), {}) : std::string();
    const std::string s_numbered = CT_SettingsFileCheck::ss_Numbered(s_bytes);
    if (!co_in || s_numbered == s_bytes) {
        pco_Settings->v_Load();
        return;
    }
    const std::string s_copy = CT_RunFolder::ss_Temporary() + "settings";
    std::ofstream co_out(s_copy, std::ios::binary | std::ios::trunc);
    co_out << s_numbered;
    co_out.close();
    if (!co_out) {
        CT_Errors::v_ThrowError(e_FileWrite, CT_String(("cannot write a copy of the settings in " +
                                                        s_copy + " to read their words")
                                                           .c_str()));
    }
    CT_Settings co_read(CT_String(s_copy.c_str()));
    co_read.v_Load();
    std::error_code co_ignored;
    std::filesystem::remove(s_copy, co_ignored);
    pco_Settings->co_GetProcessSettings() = co_read.co_GetProcessSettings();
}

void CT_Session::v_CheckSettingsFile() {
    for (const std::string& s_problem : CT_SettingsFileCheck::sco_Problems(s_SettingsPath)) {
        v_LogLine("Warning: " + s_problem);
        b_SettingsMisread = true;
    }
    // An order the file cannot mean is taken as the first one, as the warning says.
    CT_StoryListSettings& co_list = pco_Settings->co_GetProcessSettings().co_GetStoryListSettings();
    const int i_order = co_list.eo_GetDefaultStoryOrder();
    if (i_order < e_TopDown || i_order > e_Custom) {
        co_list.v_SetDefaultStoryOrder(e_TopDown);
    }
}

const CT_StoryListSettings& CT_Session::cco_GetStoryListSettings() {
    co_StoryListSettings = co_LoadSettings().co_GetProcessSettings().co_GetStoryListSettings();
    if (!co_Options.s_Order.empty()) {
        co_StoryListSettings.v_SetDefaultStoryOrder(eo_OrderFromName(co_Options.s_Order));
    }
    if (co_Options.b_IgnorePasteBoard) {
        co_StoryListSettings.v_SetIgnorePasteBoard(1);
    }
    return co_StoryListSettings;
}

void CT_Session::v_ApplyOrderFile(const CT_OrderFile& co_File, CT_StoryOrder& co_Order) {
    for (const auto& [n_line, s_key] : co_File.co_Apply(co_Order)) {
        v_LogLine("Warning: " + co_File.s_GetPath() + ":" + std::to_string(n_line) +
                  ": the order file names a story that the document does not have: " +
                  CT_Shown::ss_Value(s_key));
    }
}

std::string CT_Session::ss_OrderFileBeside(const std::string& s_Document) {
    return s_Document + ".order";
}

std::string CT_Session::s_GetOrderFile() {
    if (!co_Options.s_OrderFile.empty() || co_Options.s_Document.empty()) {
        return co_Options.s_OrderFile;
    }
    if (cco_GetStoryListSettings().eo_GetDefaultStoryOrder() != e_Custom ||
        b_IsComputed(co_Options.s_Order)) {
        return std::string();
    }
    const std::string s_beside = ss_OrderFileBeside(co_Options.s_Document);
    std::error_code co_error;
    return std::filesystem::is_regular_file(s_beside, co_error) ? s_beside : std::string();
}

bool CT_Session::b_IsArranged() {
    return b_IsComputed(co_Options.s_Order) || !s_GetOrderFile().empty();
}

void CT_Session::v_Arrange(CT_StoryOrder& co_Order, const CT_OrderFile* pco_File) {
    if (co_Options.s_Order == "reading") {
        const CT_ReadingOrder co_reading(
            CT_IdmlReadingLayout::sco_Build(co_Host.cco_GetActiveDocument()));
        CT_StoryArrangement::sv_Apply(co_reading.co_GetKeys(), co_Order);
    } else if (co_Options.s_Order == "structure") {
        const CT_IdmlDocument& co_document = co_Host.cco_GetActiveDocument();
        const std::vector<std::string> co_tagged = co_document.co_StructureKeys();
        if (co_tagged.empty()) {
            v_LogLine("Warning: " + co_document.s_Path() +
                      " has no XML structure: its stories are in reading order");
        }
        const CT_StructureOrder co_structure(co_tagged,
                                             CT_IdmlReadingLayout::sco_Build(co_document));
        CT_StoryArrangement::sv_Apply(co_structure.co_GetKeys(), co_Order);
    }
    if (pco_File != nullptr) {
        v_ApplyOrderFile(*pco_File, co_Order);
    }
}

std::string CT_Session::s_OrderInForce(const CT_StoryOrder& co_Order) const {
    if (b_IsComputed(co_Options.s_Order) && co_Options.s_OrderFile.empty()) {
        return co_Options.s_Order;
    }
    switch (co_Order.eo_GetStoryOrder()) {
        case e_TopDown:
            return "top-down";
        case e_LeftRight:
            return "left-right";
        case e_Custom:
            return "custom";
        default:
            return "kind " + std::to_string(co_Order.eo_GetStoryOrder());
    }
}

void CT_Session::v_LocateErrorsIn(const CT_TaggedFile* pco_File) {
    if (pco_File == nullptr) {
        co_Sink.v_SetFilter(nullptr);
        return;
    }
    co_Sink.v_SetFilter([pco_File](const std::string& s_Line) {
        for (const std::string& s_prefix : {ss_ErrorPrefix(), ss_CommandErrorPrefix()}) {
            if (s_Line.compare(0, s_prefix.size(), s_prefix) == 0) {
                return s_prefix + pco_File->s_Locate(s_Line.substr(s_prefix.size()));
            }
        }
        return s_Line;
    });
}

void CT_Session::v_LogError(const CT_String& co_Text) {
    v_LogLine(ss_CommandErrorPrefix() + std::string(co_Text.sv()));
}

void CT_Session::v_LogLine(const std::string& s_Line) {
    co_Log << s_Line.c_str() << co_Log.cco_Eof();
}

std::string CT_Session::ss_ErrorPrefix() {
    CT_ResString co_message(CT_Library::sp_GetModule(), gn_ErrorMessage);
    const std::string s_text(co_message.cco_Get().sv());
    return s_text.substr(0, s_text.find('%'));
}
