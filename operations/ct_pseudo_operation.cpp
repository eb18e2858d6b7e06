#include "operations/ct_pseudo_operation.h"

#include <pugixml.hpp>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "document/ct_document.h"
#include "exchange/ct_pseudo_text.h"
#include "exchange/ct_tagged_file.h"
#include "operations/ct_current_document.h"
#include "operations/ct_export_target.h"
#include "operations/ct_operation_outcome.h"
#include "operations/ct_session.h"
#include "operations/ct_work_copy.h"
#include "operations/ct_xliff_converter.h"
#include "platform/common/ct_atomic_replace.h"
#include "platform/common/ct_errors.h"
#include "platform/host/ct_progress_listener.h"
#include "settings/ct_process_data.h"
#include "settings/ct_story_format_settings.h"

namespace fs = std::filesystem;

namespace {

// The language an XLIFF file names when the user names none: private use, as nobody reads it.
const char* const gpc_PseudoLanguage = "x-pseudo";

[[noreturn]] void v_Fail(et_ErrorCode eo_Code, const std::string& s_Text) {
    CT_Errors::v_ThrowError(eo_Code, CT_String(s_Text.c_str()));
}

bool b_EndsWith(const std::string& s_Text, const std::string& s_End) {
    if (s_Text.size() <= s_End.size()) {
        return false;
    }
    std::string s_tail = s_Text.substr(s_Text.size() - s_End.size());
    for (char& c_char : s_tail) {
        c_char = c_char >= 'A' && c_char <= 'Z' ? static_cast<char>(c_char - 'A' + 'a') : c_char;
    }
    return s_tail == s_End;
}

std::string s_ReadAll(const std::string& s_Path) {
    std::ifstream co_in(s_Path, std::ios::binary);
    std::ostringstream co_out;
    co_out << co_in.rdbuf();
    if (!co_in.good() && !co_in.eof()) {
        v_Fail(e_FileRead, "cannot read " + s_Path);
    }
    return co_out.str();
}

void v_WriteAll(const std::string& s_Path, const std::string& s_Bytes) {
    std::ofstream co_out(s_Path, std::ios::binary | std::ios::trunc);
    co_out << s_Bytes;
    co_out.close();
    if (!co_out) {
        v_Fail(e_FileWrite, "cannot write " + s_Path);
    }
}

// Every story of the exported file pseudo-translated, in the same file's form.
void v_PseudoTagged(const std::string& s_From, const std::string& s_To, double d_Expand) {
    std::vector<CT_TaggedStory> co_stories;
    try {
        co_stories = CT_TaggedStoryFile::sco_Read(s_ReadAll(s_From));
        for (CT_TaggedStory& co_story : co_stories) {
            co_story.co_Content = CT_PseudoText::ss_Tagged(co_story.co_Content, d_Expand);
        }
    } catch (const std::invalid_argument& co_error) {
        v_Fail(e_BadContent, co_error.what());
    }
    v_WriteAll(s_To, CT_TaggedStoryFile::s_Write(co_stories, CT_IdmlHost::spc_OpenTag,
                                                 CT_IdmlHost::spc_CloseTag));
}

// The text of every target to translate, pseudo-translated and marked translated; units that
// need no translation, and targets the export marked done already (numbers alone), stay.
std::string s_PseudoXliff(const std::string& s_From, double d_Expand) {
    pugi::xml_document co_xliff;
    const unsigned n_parse = pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_declaration;
    if (!co_xliff.load_file(s_From.c_str(), n_parse)) {
        v_Fail(e_FileRead, "cannot read the XLIFF file the export wrote: " + s_From);
    }
    for (const pugi::xpath_node& co_found : co_xliff.select_nodes("//trans-unit")) {
        const pugi::xml_node co_unit = co_found.node();
        pugi::xml_node co_target = co_unit.child("target");
        if (std::string(co_unit.attribute("translate").value()) == "no" || !co_target ||
            std::string(co_target.attribute("state").value()) == "translated") {
            continue;
        }
        std::vector<pugi::xml_node> co_texts;
        for (const pugi::xpath_node& co_text : co_target.select_nodes(".//text()")) {
            co_texts.push_back(co_text.node());
        }
        std::vector<std::string> co_pieces;
        for (const pugi::xml_node& co_text : co_texts) {
            co_pieces.push_back(co_text.value());
        }
        if (co_pieces.empty()) {
            continue;
        }
        CT_PseudoText::sv_Paragraph(co_pieces, d_Expand);
        for (std::size_t n = 0; n < co_texts.size(); ++n) {
            co_texts[n].set_value(co_pieces[n].c_str());
        }
        pugi::xml_attribute co_state = co_target.attribute("state");
        (co_state ? co_state : co_target.append_attribute("state")).set_value("translated");
    }
    std::ostringstream co_out;
    co_xliff.save(co_out, "", pugi::format_raw, pugi::encoding_utf8);
    return co_out.str();
}

// In one step: the file is the old one or the whole new one.
void v_Replace(const std::string& s_Path, const std::string& s_Bytes) {
    CT_AtomicReplace co_out{CT_String(s_Path.c_str())};
    co_out.v_CloseFd();
    v_WriteAll(co_out.s_TempPath(), s_Bytes);
    co_out.v_Commit();
}

// The growth asked for, as a share: --expand, else the target language's usual growth.
double d_GrowthOf(const CT_CommandOptions& co_Options) {
    if (co_Options.d_Expand >= 0) {
        return co_Options.d_Expand / 100;
    }
    return CT_PseudoText::sd_GrowthFor(co_Options.s_TargetLanguage);
}

}  // namespace

et_ExitStatus CT_PseudoOperation::seo_Run(CT_Session& co_Session) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    const std::string& s_out = co_options.s_Pseudo;
    const std::string& s_xliff = co_options.s_PseudoXliff;
    if (!b_EndsWith(s_out, ".idml")) {
        v_Fail(e_FileWrite, s_out + " is no IDML file name: the copy is written as NAME.idml");
    }
    if (!s_xliff.empty() && !b_EndsWith(s_xliff, ".xlf") && !b_EndsWith(s_xliff, ".xliff")) {
        v_Fail(e_FileWrite, s_xliff + " is no XLIFF file name: give NAME.xlf or NAME.xliff");
    }
    std::error_code co_same;
    if (!s_xliff.empty() && (s_xliff == s_out || fs::equivalent(s_xliff, s_out, co_same))) {
        v_Fail(e_FileWrite, s_xliff + " is named for both the copy and the XLIFF file");
    }
    CT_ProcessData co_data(co_Session.co_GetLog(), CT_StoryFormatSettings(), "Pseudo");
    CT_OperationOutcome co_outcome(co_Session);
    std::unique_ptr<CT_WorkCopy> pco_copy;
    std::string s_xliffBytes;
    std::vector<std::pair<std::string, std::string>> co_backups;  // target, backup
    // A backup of a target that ends up as it was is dropped again, as export drops it.
    const auto v_Backups = [&]() {
        for (const auto& [s_target, s_backup] : co_backups) {
            if (!s_backup.empty() && CT_ExportTarget::sb_KeepsBackup(s_target, s_backup)) {
                co_Session.v_LogLine("The file as it was is kept in " + s_backup + ".");
            }
        }
    };
    co_outcome.v_Run([&]() -> int {
        co_backups.emplace_back(
            s_out, CT_ExportTarget::ss_Check(co_Session.co_GetHost(), co_options.s_Document, s_out,
                                             co_options.b_Force));
        if (!s_xliff.empty()) {
            co_backups.emplace_back(
                s_xliff, CT_ExportTarget::ss_Check(co_Session.co_GetHost(), co_options.s_Document,
                                                   s_xliff, co_options.b_Force));
            CT_ExportTarget::sv_MakeFolder(s_xliff);
        }
        CT_ExportTarget::sv_MakeFolder(s_out);
        // Beside the target, so that the finished copy is renamed into place on one file system.
        pco_copy = std::make_unique<CT_WorkCopy>(
            co_options.s_Document, fs::absolute(fs::path(s_out)).parent_path().string());
        co_Session.co_GetSink().v_AddRewrite(pco_copy->s_GetFolder(),
                                             pco_copy->s_GetDocumentFolder());
        CT_CurrentDocument co_current(pco_copy->s_GetPath(), co_Session.cco_GetStoryListSettings());
        CT_Document& co_document = co_current.co_GetDocument();
        if (co_document.b_IsEmpty()) {
            CT_Errors::v_ThrowError(e_NoTextBox, CT_String(co_options.s_Document.c_str()));
        }
        const std::string s_exported = pco_copy->s_GetFolder() + "exported.stt";
        const std::string s_pseudo = pco_copy->s_GetFolder() + "pseudo.stt";
        if (co_document.b_Export(CT_String(s_exported.c_str()), co_data) != 0) {
            return 1;
        }
        const double d_growth = d_GrowthOf(co_options);
        if (!s_xliff.empty()) {
            CT_XliffWriter::CT_Options co_xliff;
            co_xliff.co_SourceLanguage = co_options.s_SourceLanguage;
            co_xliff.co_TargetLanguage = co_options.s_TargetLanguage.empty()
                                             ? gpc_PseudoLanguage
                                             : co_options.s_TargetLanguage;
            const std::string s_written = pco_copy->s_GetFolder() + "exported.xlf";
            CT_XliffConverter co_converter(co_Session.co_GetHost(), co_xliff);
            const std::string s_name = fs::path(co_options.s_Document).filename().string();
            if (co_converter.b_Convert(CT_String(s_exported.c_str()), CT_String(s_written.c_str()),
                                       CT_String(s_name.c_str())) != 0) {
                return 1;
            }
            s_xliffBytes = s_PseudoXliff(s_written, d_growth);
        }
        v_PseudoTagged(s_exported, s_pseudo, d_growth);
        if (CT_ProgressListener::sb_IsCancel() ||
            co_document.b_Import(CT_String(s_pseudo.c_str()), co_data) != 0) {
            return 1;
        }
        co_document.v_Save();
        return 0;
    });
    if (co_outcome.eo_GetExitStatus() != e_ExitOk) {
        v_Backups();
        co_Session.v_LogLine("Nothing was written.");
        return co_outcome.eo_GetExitStatus();
    }
    CT_OperationOutcome co_placing(co_Session);
    co_placing.v_Run([&]() -> int {
        if (!s_xliff.empty()) {
            v_Replace(s_xliff, s_xliffBytes);
        }
        std::error_code co_error;
        fs::rename(pco_copy->s_GetPath(), s_out, co_error);
        if (co_error) {
            v_Fail(e_FileReplace, "cannot put the pseudo-translated copy in place as " + s_out +
                                      ": " + co_error.message());
        }
        return 0;
    });
    v_Backups();
    if (co_placing.eo_GetExitStatus() != e_ExitOk) {
        return co_placing.eo_GetExitStatus();
    }
    co_Session.v_LogLine("The pseudo-translated copy is " + s_out +
                         (s_xliff.empty() ? "." : "; its XLIFF file is " + s_xliff + "."));
    return e_ExitOk;
}
