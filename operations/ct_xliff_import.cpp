#include "operations/ct_xliff_import.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <system_error>
#include <unordered_map>

#include "exchange/ct_tagged_file.h"
#include "exchange/ct_xliff_placement.h"
#include "exchange/ct_xliff_reader.h"
#include "operations/ct_document_language.h"
#include "operations/ct_file_kind.h"
#include "operations/ct_session.h"
#include "operations/ct_xliff_codes.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_file_bytes.h"
#include "platform/common/ct_files.h"
#include "platform/common/ct_run_folder.h"
#include "platform/common/internal/ct_os_file.h"
#include "platform/host/idml/ct_idml_host.h"

namespace {
[[noreturn]] void v_Refuse(const std::string& s_File, const std::string& s_What) {
    CT_Errors::v_ThrowError(e_BadContent, CT_String((s_File + ": " + s_What).c_str()));
}

// "N units of FILE are WHAT: ID, ID, ... and N more".
std::string s_UnitsLine(const std::string& s_File, const std::vector<std::string>& co_Ids,
                        const std::string& s_What) {
    std::string s_line = std::to_string(co_Ids.size()) +
                         (co_Ids.size() == 1 ? " unit of " : " units of ") + s_File +
                         (co_Ids.size() == 1 ? " is " : " are ") + s_What + ": ";
    const std::size_t n_shown = std::min<std::size_t>(co_Ids.size(), 10);
    for (std::size_t n = 0; n < n_shown; ++n) {
        s_line += (n == 0 ? "" : ", ") + co_Ids[n];
    }
    if (co_Ids.size() > n_shown) {
        s_line += " and " + std::to_string(co_Ids.size() - n_shown) + " more";
    }
    return s_line;
}

// The name a document goes by, without folders of either kind of separator and without its
// extension: what a <file>'s original is compared by. An original is a name, never a path.
std::string s_BareName(const std::string& s_Path) {
    const std::size_t n_slash = s_Path.find_last_of("/\\");
    std::string s_name = n_slash == std::string::npos ? s_Path : s_Path.substr(n_slash + 1);
    const std::size_t n_dot = s_name.rfind('.');
    return n_dot == std::string::npos || n_dot == 0 ? s_name : s_name.substr(0, n_dot);
}

bool b_SameLanguage(const std::string& s_One, const std::string& s_Other) {
    return s_One.size() == s_Other.size() &&
           std::equal(s_One.begin(), s_One.end(), s_Other.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}
}  // namespace

// The stories laid as the document was read: each one's findings, by key, and its content,
// written to a file of its own as it is laid (the stories of a large document would otherwise
// be held beside it) and read back in the file's order for the import.
struct CT_XliffImport::CT_Ahead {
    // Null once the import has no more use for it: a document read later at the same path
    // then lays nothing (the host may keep this beyond the import).
    CT_XliffReader* pco_Reader = nullptr;
    CT_XliffPlacement::CT_UnitsByStory co_Units;
    struct CT_Laid {
        std::size_t n_At = 0;  // in the file of contents
        std::size_t n_Size = 0;
        std::vector<CT_XliffFinding> co_Findings;
    };
    std::mutex co_Lock;
    std::unordered_map<std::string, CT_Laid> co_Laid;
    std::atomic<bool> b_Read{false};
    int i_Contents = -1;  // the file of contents, which has no name
    std::size_t n_Written = 0;
    int i_WriteError = 0;  // the errno of the first write that failed

    CT_Ahead() {
        std::string s_path;
        i_Contents = CT_OsFile::si_CreateIntermediate(s_path);
        unlink(s_path.c_str());
    }
    ~CT_Ahead() { close(i_Contents); }
    CT_Ahead(const CT_Ahead&) = delete;
    CT_Ahead& operator=(const CT_Ahead&) = delete;

    // Keeps a story as it was laid, its content written after the others', on whatever thread
    // laid it.
    void v_Keep(const std::string& s_Key, const std::string& s_Content,
                std::vector<CT_XliffFinding> co_Findings) {
        const std::lock_guard<std::mutex> co_lock(co_Lock);
        if (i_WriteError == 0 &&
            !CT_OsFile::sb_WriteAll(i_Contents, s_Content.data(), s_Content.size())) {
            i_WriteError = errno;
        }
        co_Laid[s_Key] = {n_Written, s_Content.size(), std::move(co_Findings)};
        n_Written += s_Content.size();
    }

    // A story's content as it was laid; raises e_FileWrite when it could not be kept.
    std::string s_Content(const CT_Laid& co_Laid) const {
        std::string s_content(co_Laid.n_Size, '\0');
        int i_error = i_WriteError;
        if (i_error == 0) {
            const long long i_read =
                CT_OsFile::sn_ReadAt(i_Contents, co_Laid.n_At, s_content.data(), s_content.size());
            i_error = i_read < 0                                            ? errno
                      : static_cast<std::size_t>(i_read) < s_content.size() ? EIO
                                                                            : 0;
        }
        if (i_error != 0) {
            CT_Errors::v_ThrowError(
                e_FileWrite, CT_String(("cannot keep the translated stories in a temporary file: " +
                                        CT_OsFile::sco_Reason(i_error))
                                           .c_str()));
        }
        return s_content;
    }
};

namespace {
bool b_HasNotes(const CT_StoryLayout::CT_Codes& co_Codes) {
    return std::any_of(co_Codes.begin(), co_Codes.end(),
                       [](const auto& co_Code) { return co_Code.second.co_Label == "note"; });
}
}  // namespace

CT_XliffImport::CT_XliffImport(CT_Session& co_Session, const std::string& s_File)
    : co_Session(co_Session), s_File(s_File), s_Tagged(s_File) {
    if (!CT_Session::sb_IsXliff(co_Session.co_GetOptions(), s_File)) {
        return;
    }
    // The file's bytes are given back as its units are read, and a unit's text read again when
    // it is laid: a large file and its units are then not held whole at once.
    pco_Bytes = std::make_unique<CT_FileBytes>(s_File);
    const std::string_view s_bytes = pco_Bytes->co_View();
    const CT_FileKind::et_Kind eo_kind =
        CT_FileKind::seo_Guess(std::string(s_bytes.substr(0, CT_FileKind::sn_Head)));
    const char* pc_after =
        eo_kind == CT_FileKind::e_Zip      ? ", not an XLIFF file"
        : eo_kind == CT_FileKind::e_Binary ? " (it holds zero bytes), not an XLIFF file"
        : eo_kind == CT_FileKind::e_Tagged ? ", not an XLIFF file: give --format tagged to read it"
                                           : nullptr;
    if (pc_after != nullptr) {
        v_Refuse(s_File, CT_FileKind::spc_Describe(eo_kind) + std::string(pc_after));
    }
    try {
        pco_Reader = std::make_unique<CT_XliffReader>(
            *pco_Bytes, [&co_Session]() { return co_Session.b_IsCanceled(); },
            co_Session.n_Threads());
        b_Xliff = true;
    } catch (const CT_XliffReader::CT_Refusal& co_refusal) {
        v_Refuse(s_File, co_refusal.what());
    } catch (const CT_XliffReader::CT_Cancelled&) {
        b_Cancelled = true;
        pco_Bytes.reset();
    }
}

void CT_XliffImport::v_LetGoOfAhead() {
    if (pco_Ahead != nullptr) {
        pco_Ahead->pco_Reader = nullptr;
        pco_Ahead->co_Units = {};  // they point into the reader
    }
}

CT_XliffImport::~CT_XliffImport() {
    v_LetGoOfAhead();
    if (!s_Folder.empty()) {
        std::error_code co_ignored;
        std::filesystem::remove_all(s_Folder, co_ignored);
    }
}

void CT_XliffImport::v_ListStories(const std::string& s_Document) {
    if (pco_Reader != nullptr) {
        co_Session.co_GetHost().v_AlwaysList(s_Document, pco_Reader->co_StoryKeys());
    }
}

// Each <file> should be made for this document, from its language; a file that several tools
// filled may also disagree with itself on the target language.
void CT_XliffImport::v_CheckFiles(const std::string& s_Name) {
    const std::string s_document = s_BareName(s_Name);
    const std::string s_language =
        CT_DocumentLanguage::ss_Of(co_Session.co_GetHost().cco_GetActiveDocument(),
                                   co_Session.co_GetHost().pco_TextLanguages());
    std::string s_target;
    for (const CT_XliffReader::CT_File& co_file : pco_Reader->cco_Files()) {
        CT_XliffFinding co_finding;
        co_finding.n_Line = co_file.n_Line;
        if (!co_file.co_Original.empty() && s_BareName(co_file.co_Original) != s_document) {
            co_finding.eo_Kind = CT_XliffFinding::e_Original;
            co_finding.co_Detail = co_file.co_Original;
            co_Findings.push_back(co_finding);
        }
        if (!s_language.empty() && !co_file.co_SourceLanguage.empty() &&
            !b_SameLanguage(co_file.co_SourceLanguage, s_language)) {
            co_finding.eo_Kind = CT_XliffFinding::e_SourceLanguage;
            co_finding.co_Detail = co_file.co_SourceLanguage;
            co_finding.co_Document = s_language;
            co_Findings.push_back(co_finding);
        }
        co_finding.eo_Kind = CT_XliffFinding::e_TargetLanguage;
        co_finding.co_Document.clear();
        if (co_file.co_TargetLanguage.empty()) {
            co_finding.co_Detail = "the file names no target language";
            co_Findings.push_back(co_finding);
        } else if (b_SameLanguage(co_file.co_TargetLanguage, co_file.co_SourceLanguage)) {
            co_finding.co_Detail =
                "the target language is the source language, \"" + co_file.co_TargetLanguage + "\"";
            co_Findings.push_back(co_finding);
        } else if (!s_target.empty() && !b_SameLanguage(co_file.co_TargetLanguage, s_target)) {
            co_finding.co_Detail = "the target language is \"" + co_file.co_TargetLanguage +
                                   "\", an earlier <file>'s \"" + s_target + "\"";
            co_Findings.push_back(co_finding);
        }
        if (s_target.empty()) {
            s_target = co_file.co_TargetLanguage;
        }
    }
}

void CT_XliffImport::v_PlaceAhead(const std::string& s_Document) {
    if (pco_Reader == nullptr) {
        return;
    }
    auto pco_ahead = std::make_shared<CT_Ahead>();
    pco_ahead->pco_Reader = pco_Reader.get();
    pco_ahead->co_Units = CT_XliffPlacement::sco_ByStory(*pco_Reader);
    CT_Ahead* pco_into = pco_ahead.get();
    co_Session.co_GetHost().v_TranslateAhead(
        s_Document,
        [pco_into](const std::string& s_Key, const CT_IdmlHost::CT_ExportedStory& co_Kept,
                   const CT_IdmlHost::CT_ExportedStory* pco_Skipped, std::string& s_Translated) {
            if (pco_into->pco_Reader == nullptr) {
                return false;
            }
            pco_into->b_Read = true;
            const auto co_units = pco_into->co_Units.co_ByKey.find(s_Key);
            if (co_units == pco_into->co_Units.co_ByKey.end()) {
                return false;
            }
            for (const CT_XliffUnit* pco_unit : co_units->second) {
                pco_into->pco_Reader->v_Unpack(*pco_unit);
            }
            std::vector<CT_StoryLayout> co_layouts;
            const CT_StoryLayout::CT_Codes co_codes = CT_XliffCodes::sco_From(co_Kept.co_Codes);
            co_layouts.emplace_back(co_Kept.s_Content, co_codes);
            if (pco_Skipped != nullptr && b_HasNotes(co_codes)) {
                co_layouts.emplace_back(pco_Skipped->s_Content,
                                        CT_XliffCodes::sco_From(pco_Skipped->co_Codes));
            }
            const CT_XliffPlacement co_placement(s_Key, std::move(co_layouts), co_units->second);
            // What the rest of the reading needs the memory for more.
            for (const CT_XliffUnit* pco_unit : co_units->second) {
                pco_into->pco_Reader->v_LetGoOfText(*pco_unit);
            }
            s_Translated = co_placement.s_Content();
            pco_into->v_Keep(s_Key, s_Translated, co_placement.cco_Findings());
            return true;
        },
        pco_ahead);
    pco_Ahead = std::move(pco_ahead);
}

void CT_XliffImport::v_Place(const std::string& s_Document, const std::string& s_Name) {
    if (pco_Reader == nullptr) {
        return;
    }
    v_CheckFiles(s_Name);
    const CT_IdmlHost& co_host = co_Session.co_GetHost();
    std::vector<CT_TaggedStory> co_stories;
    if (pco_Ahead != nullptr && pco_Ahead->b_Read) {
        co_stories = CT_XliffPlacement::sco_Assemble(
            *pco_Reader, pco_Ahead->co_Units,
            [&](const std::string& s_Key, const std::vector<const CT_XliffUnit*>&,
                std::string& s_Content, std::vector<CT_XliffFinding>& co_Found) {
                const auto co_laid = pco_Ahead->co_Laid.find(s_Key);
                if (co_laid == pco_Ahead->co_Laid.end()) {
                    return false;
                }
                // Read back from where it was kept as the tagged file is written.
                s_Content.clear();
                co_Found = std::move(co_laid->second.co_Findings);
                return true;
            },
            co_Findings);
        v_LetGoOfAhead();
    } else {
        for (const CT_XliffUnit& co_unit : pco_Reader->cco_Units()) {
            pco_Reader->v_Unpack(co_unit);
        }
        co_stories = CT_XliffPlacement::sco_PlaceAll(
            *pco_Reader,
            [&](const std::string& s_Key, std::vector<CT_StoryLayout>& co_Layouts) {
                std::string s_content;
                std::vector<CT_IdmlStoryCodeInfo> co_infos;
                if (!co_host.b_ExportedContent(s_Document, s_Key, false, s_content, co_infos)) {
                    return false;
                }
                const CT_StoryLayout::CT_Codes co_codes = CT_XliffCodes::sco_From(co_infos);
                co_Layouts.emplace_back(s_content, co_codes);
                // A story with notes may have gone out with them left out (--notes skip).
                if (b_HasNotes(co_codes) &&
                    co_host.b_ExportedContent(s_Document, s_Key, true, s_content, co_infos)) {
                    co_Layouts.emplace_back(s_content, CT_XliffCodes::sco_From(co_infos));
                }
                return true;
            },
            co_Findings);
    }
    // Every unit is in the stories now: the import that follows has the memory they held.
    pco_Reader.reset();
    pco_Bytes.reset();
    std::string s_template = CT_RunFolder::ss_Temporary() + "xliff-XXXXXX";
    if (mkdtemp(s_template.data()) == nullptr) {
        CT_Errors::v_ThrowError(
            e_FileWrite,
            CT_String(
                ("cannot make a temporary folder: " + std::string(std::strerror(errno))).c_str()));
    }
    s_Folder = s_template;
    // Named after the document, so that the kernel's own name check finds nothing to say: the
    // file's originals were compared above.
    std::string s_stem = std::filesystem::path(s_Name).stem().string();
    if (s_stem.empty() || s_stem.size() > 200) {
        s_stem = "translation";
    }
    s_Tagged = s_Folder + "/" + s_stem + CT_IdmlHost::spc_Extension;
    // Written a story at a time: the file is as large as the stories it is written from.
    CT_Files co_file;
    co_file.v_Open(CT_String(s_Tagged.c_str()), e_OpenWrite, 0);
    std::string s_block = CT_IdmlHost::spc_OpenTag;
    for (const CT_TaggedStory& co_story : co_stories) {
        const CT_Ahead::CT_Laid* pco_laid = nullptr;
        if (pco_Ahead != nullptr) {
            const auto co_laid = pco_Ahead->co_Laid.find(co_story.co_Key);
            pco_laid = co_laid == pco_Ahead->co_Laid.end() ? nullptr : &co_laid->second;
        }
        CT_TaggedStoryFile::sv_WriteStory(
            co_story.co_Key, co_story.co_Location,
            pco_laid != nullptr ? pco_Ahead->s_Content(*pco_laid) : co_story.co_Content, s_block);
        if (s_block.size() >= (std::size_t{1} << 20)) {
            co_file.v_Write(s_block.data(), s_block.size());
            s_block.clear();
        }
    }
    s_block += CT_IdmlHost::spc_CloseTag;
    co_file.v_Write(s_block.data(), s_block.size());
    co_file.v_Close();
}

bool CT_XliffImport::b_Refuses() const {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    for (const CT_XliffFinding& co_finding : co_Findings) {
        const CT_XliffFinding::et_Weight eo_weight = co_finding.eo_Weight();
        if (eo_weight == CT_XliffFinding::e_Error ||
            (eo_weight == CT_XliffFinding::e_Difference && !co_options.b_AllowDifferences) ||
            (eo_weight == CT_XliffFinding::e_NotTranslated && co_options.b_RequireTranslated)) {
            return true;
        }
    }
    return false;
}

std::string CT_XliffImport::s_UntranslatedLine() const {
    std::vector<std::string> co_ids;
    for (const CT_XliffFinding& co_finding : co_Findings) {
        if (co_finding.eo_Weight() == CT_XliffFinding::e_NotTranslated) {
            co_ids.push_back(co_finding.co_Unit);
        }
    }
    return co_ids.empty() ? std::string() : s_UnitsLine(s_File, co_ids, "not translated");
}

std::vector<std::string> CT_XliffImport::co_TellEach(
    const std::function<void(const CT_XliffFinding&)>& f_Tell) const {
    std::vector<std::string> co_review;
    for (const CT_XliffFinding& co_finding : co_Findings) {
        if (co_finding.eo_Kind == CT_XliffFinding::e_Review) {
            co_review.push_back(co_finding.co_Unit);
        } else if (co_finding.eo_Weight() != CT_XliffFinding::e_NotTranslated) {
            f_Tell(co_finding);
        }
    }
    return co_review;
}

void CT_XliffImport::v_Admit() const {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    std::vector<std::string> co_refusals;
    const std::vector<std::string> co_review = co_TellEach([&](const CT_XliffFinding& co_Finding) {
        const std::string s_text = co_Finding.co_Text(s_File);
        if (co_Finding.eo_Weight() == CT_XliffFinding::e_Error) {
            co_refusals.push_back(s_text);
        } else if (co_Finding.eo_Weight() != CT_XliffFinding::e_Difference) {
            co_Session.v_LogLine("Note: " + s_text);
        } else if (co_options.b_AllowDifferences) {
            co_Session.v_LogLine("Warning: " + s_text + " (" + co_Finding.pc_WhenAccepted() +
                                 ": --allow-differences)");
        } else {
            co_refusals.push_back(s_text + " (with --allow-differences " +
                                  co_Finding.pc_WhenAccepted() + ")");
        }
    });
    const std::string s_untranslated = s_UntranslatedLine();
    if (!s_untranslated.empty()) {
        if (co_options.b_RequireTranslated) {
            co_refusals.push_back(s_File + ": --require-translated: " +
                                  s_untranslated.substr(s_untranslated.find("not translated")));
        } else {
            co_Session.v_LogLine("Warning: " + s_untranslated);
        }
    }
    if (!co_review.empty()) {
        co_Session.v_LogLine("Note: " + s_UnitsLine(s_File, co_review, "to be reviewed"));
    }
    if (co_refusals.empty()) {
        return;
    }
    for (std::size_t n = 0; n + 1 < co_refusals.size(); ++n) {
        co_Session.v_LogError(CT_String(co_refusals[n].c_str()));
    }
    CT_Errors::v_ThrowError(e_BadContent, CT_String(co_refusals.back().c_str()));
}
