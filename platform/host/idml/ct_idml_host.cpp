#include "platform/host/idml/ct_idml_host.h"

#include <algorithm>
#include <mutex>
#include <unordered_set>
#include <utility>

#include "platform/common/ct_errors.h"
#include "platform/common/ct_utf8.h"
#include "platform/host/ct_document_interface.h"
#include "platform/host/ct_listener.h"
#include "platform/host/idml/ct_idml_box_list.h"
#include "platform/host/idml/ct_idml_deflater.h"
#include "platform/host/idml/ct_idml_story_codec.h"
#include "platform/host/idml/ct_idml_story_plain_text.h"
#include "platform/host/idml/ct_idml_tag_text.h"
#include "platform/host/idml/ct_idml_xml_part.h"

const char* const CT_IdmlHost::spc_OpenTag = "<STORYPORT-TAGGED-TEXT VERSION=\"1\">\n";
const char* const CT_IdmlHost::spc_CloseTag = "</STORYPORT-TAGGED-TEXT>\n";
const char* const CT_IdmlHost::spc_Extension = ".stt";
const char* const CT_IdmlHost::spc_Filter = "Story Tagged Text (*.stt)|*.stt||";

CT_IdmlHost::CT_IdmlHost() : co_Filter(spc_Filter) {}

CT_IdmlHost::~CT_IdmlHost() = default;

void CT_IdmlHost::v_SetProgressListener(CT_ProgressListener* pco_Listener) {
    pco_Progress = pco_Listener != nullptr ? pco_Listener : &co_SilentProgress;
}

void CT_IdmlHost::v_SetParentProgressListener(CT_ParentProgressListener* pco_Listener) {
    pco_ParentProgress = pco_Listener != nullptr ? pco_Listener : &co_SilentParentProgress;
}

void CT_IdmlHost::v_SetCancelSource(std::function<int()> co_Source) {
    co_Documents.v_SetCancelSource(co_Source);
    co_Cancel = std::move(co_Source);
}

CT_Listener* CT_IdmlHost::pco_GetCurrentListener() const {
    return co_Listeners.empty() ? nullptr : co_Listeners.back();
}

// --- Documents -------------------------------------------------------------------------------

void* CT_IdmlHost::p_DocumentHandle(unsigned n_Serial) {
    return co_Handles.p_NewDocument(n_Serial, co_Documents.s_FilePath(n_Serial),
                                    co_Documents.s_ShownPath(n_Serial));
}

void* CT_IdmlHost::p_GetCurrentDocument() {
    unsigned n_Serial = co_Documents.n_Active();
    return n_Serial == 0 ? nullptr : p_DocumentHandle(n_Serial);
}

// The kernel lists the boxes of the active document: a document it finds open is made active
// for as long as it holds the handle, and the one in front before comes back at the release.
void* CT_IdmlHost::p_IsDocumentOpen(const CT_String& co_Path) {
    const unsigned n_Serial = co_Documents.n_Find(std::string(co_Path.sv()));
    if (n_Serial == 0) {
        return nullptr;
    }
    const unsigned n_Front = co_Documents.n_Active();
    co_Documents.v_Activate(n_Serial);
    return co_Handles.p_NewDocument(n_Serial, co_Documents.s_FilePath(n_Serial),
                                    co_Documents.s_ShownPath(n_Serial),
                                    n_Front == n_Serial ? 0 : n_Front);
}

void* CT_IdmlHost::p_Open(const CT_String& co_Path, int) {
    const std::string s_path(co_Path.sv());
    const bool b_open = co_Documents.n_Find(s_path) != 0;
    if (!b_ReadThrough || b_open) {
        const unsigned n_serial = co_Documents.n_Open(s_path);
        if (!b_open) {
            v_RequireNamedLayers(n_serial);
        }
        return p_DocumentHandle(n_serial);
    }
    CT_Digests co_digests;
    co_digests.b_SkipNotes = b_SkipNotes;
    co_digests.b_Languages = b_CountLanguages;
    const std::string s_canonical = CT_IdmlDocuments::s_Canonical(s_path);
    for (auto co_ahead = co_Ahead.begin(); co_ahead != co_Ahead.end(); ++co_ahead) {
        if (co_ahead->first == s_canonical) {
            co_digests.pco_Ahead = std::move(co_ahead->second);
            co_Ahead.erase(co_ahead);
            break;
        }
    }
    for (auto co_it = co_TranslatingAhead.begin(); co_it != co_TranslatingAhead.end(); ++co_it) {
        if (co_it->s_Canonical == s_canonical) {
            co_digests.f_Translate = std::move(co_it->f_Translate);
            co_digests.pco_TranslateOwner = std::move(co_it->pco_Owner);
            co_TranslatingAhead.erase(co_it);
            break;
        }
    }
    std::mutex co_taking;  // stories are read on several threads at once
    const bool b_writes = b_WritesTo(s_canonical);
    const et_Keep eo_keep = eo_Keep;
    const bool b_type = b_KeepType;
    // The styles are read once, by the first story that needs them, when the design map has
    // named their part.
    std::once_flag co_styled;
    CT_IdmlTypeStyles co_styles;
    const unsigned n_serial = co_Documents.n_Open(s_path, [&](const CT_IdmlDocument& co_Document,
                                                              const std::string& s_Key,
                                                              const pugi::xml_node& co_Story) {
        CT_IdmlStoryOptions co_options;
        co_options.b_SkipNotes = co_digests.b_SkipNotes;
        co_options.pco_HiddenConditions = &co_Document.co_HiddenConditions();
        CT_Digest co_digest;
        co_digest.n_Hidden = co_Document.co_HiddenConditions().size();
        co_digest.b_HasCodes = eo_keep == et_Keep::e_Codes;
        const std::string_view* pco_ahead = nullptr;
        if (co_digests.pco_Ahead) {
            const auto co_ahead = co_digests.pco_Ahead->find(CT_IdmlTagText::ss_Key(s_Key));
            pco_ahead = co_ahead != co_digests.pco_Ahead->end() ? &co_ahead->second : nullptr;
        }
        // An import reads the story as an export with notes kept does: once is enough.
        const bool b_shared =
            pco_ahead != nullptr && !co_digest.b_HasCodes && !co_options.b_SkipNotes;
        if (b_type) {
            std::call_once(co_styled, [&]() {
                co_styles = CT_IdmlStorySettings::sco_ReadStyles(co_Document);
            });
            co_digest.co_Type = co_styles.co_TypeOf(co_Story);
            co_digest.b_HasType = true;
        }
        const bool b_preview = eo_keep == et_Keep::e_Preview;
        if (!b_shared) {
            co_digest.s_Content =
                co_digest.b_HasCodes
                    ? CT_IdmlStoryCodec::s_Export(co_Story, co_digest.co_Codes, co_options)
                : b_preview ? CT_IdmlStoryCodec::s_ExportStart(
                                  co_Story, co_options, sn_PreviewCharacters, co_digest.b_Cut)
                            : CT_IdmlStoryCodec::s_Export(co_Story, co_options);
        }
        CT_IdmlTextLanguages::CT_Counts co_languages;
        if (co_digests.b_Languages) {
            CT_IdmlTextLanguages::sv_Count(co_Story, co_languages);
        }
        std::string s_translated;
        std::string_view co_translated;
        std::optional<CT_IdmlStoryAnalysis> co_kept;
        if (co_digests.f_Translate &&
            sb_Translated(co_Story, s_Key, co_options, co_digests.f_Translate, s_translated,
                          co_kept)) {
            co_translated = s_translated;
            pco_ahead = &co_translated;
        }
        // Last: the import changes the tree the rest was read from.
        if (pco_ahead != nullptr) {
            sv_ImportAhead(co_Story, s_Key, *pco_ahead, co_options, b_shared, b_writes, co_digest,
                           co_kept ? &*co_kept : nullptr);
        }
        co_digest.b_Counted = !co_options.b_SkipNotes && co_digest.n_Hidden == 0;
        if (b_preview && b_shared) {
            co_digest.b_Cut =
                CT_IdmlStoryPlainText::sb_KeepStart(co_digest.s_Content, sn_PreviewCharacters);
        } else if (!co_digest.b_Counted && co_digest.b_HasCodes) {
            co_digest.s_Counted = CT_IdmlStoryCodec::s_Export(co_Story, co_digest.co_CountedCodes);
        }
        // Kept until the story order asks for them, every story's at once: the room a list
        // grows into is given back.
        co_digest.co_Codes.shrink_to_fit();
        co_digest.co_CountedCodes.shrink_to_fit();
        const std::lock_guard<std::mutex> co_lock(co_taking);
        co_digests.co_ByKey[s_Key] = std::move(co_digest);
        for (const auto& [s_from, n_characters] : co_languages) {
            co_digests.co_Languages[s_from] += n_characters;
        }
    });
    co_Digests[n_serial] = std::move(co_digests);
    v_RequireNamedLayers(n_serial);
    return p_DocumentHandle(n_serial);
}

// A layer named by the user that the document does not have is most likely a slip: going on
// would leave that layer's stories out without a word, and a batch would pass the document by.
// The document is refused as it opens, naming what it has instead.
void CT_IdmlHost::v_RequireNamedLayers(unsigned n_Serial) {
    const CT_IdmlDocument& co_document = co_Documents.co_Live(n_Serial);
    const std::vector<std::string> co_unknown = co_Selection.co_UnknownLayers(co_document);
    if (co_unknown.empty()) {
        return;
    }
    auto s_Quoted = [](const std::vector<std::string>& co_Names, const char* pc_Between) {
        std::string s_names;
        for (const std::string& s_name : co_Names) {
            s_names += (s_names.empty() ? "\"" : pc_Between + std::string("\"")) + s_name + "\"";
        }
        return s_names;
    };
    const std::vector<std::string> co_known = co_document.co_LayerNames();
    const std::string s_text =
        "\"" + co_document.s_Path() + "\" has no layer named " + s_Quoted(co_unknown, " or ") +
        (co_known.empty() ? "; it has no layers" : "; its layers are " + s_Quoted(co_known, ", "));
    co_Documents.v_Drop(n_Serial);
    co_Digests.erase(n_Serial);
    co_Settings.erase(n_Serial);
    CT_Errors::v_ThrowError(e_BadDocument, CT_String(s_text.c_str()));
}

CT_String CT_IdmlHost::co_GetDocumentPath(void* p_Document) {
    return CT_String(co_Handles.cco_Document(p_Document).s_Path);
}

int CT_IdmlHost::b_IsEqual(void* p_Document, void* p_Other) {
    if (p_Document == nullptr || p_Other == nullptr) {
        return p_Document == p_Other;
    }
    return co_Handles.cco_Document(p_Document).n_File == co_Handles.cco_Document(p_Other).n_File;
}

void CT_IdmlHost::v_Release(void*& p_Document) {
    // Unless the user brought another document to the front meanwhile, or closed the one to
    // come back.
    if (const CT_IdmlDocumentHandle* pco_Handle = co_Handles.pco_FindDocument(p_Document)) {
        const unsigned n_Restore = pco_Handle->n_Restore;
        if (n_Restore != 0 && co_Documents.n_Active() == pco_Handle->n_Serial &&
            co_Documents.b_IsOpen(n_Restore)) {
            co_Documents.v_Activate(n_Restore);
        }
    }
    co_Handles.v_ReleaseDocument(p_Document);
}

void CT_IdmlHost::v_Save(void* p_Document) {
    const unsigned n_serial = co_Handles.cco_Document(p_Document).n_Serial;
    co_Documents.co_Live(n_serial).v_Save(b_Writes(n_serial));
}

bool CT_IdmlHost::b_Writes(unsigned n_Serial) const {
    return b_WritesTo(CT_IdmlDocuments::s_Canonical(co_Documents.co_Live(n_Serial).s_Path()));
}

bool CT_IdmlHost::b_WritesTo(const std::string& s_Canonical) const {
    return std::find(co_SavesChecked.begin(), co_SavesChecked.end(), s_Canonical) ==
           co_SavesChecked.end();
}

void CT_IdmlHost::v_OnlyCheckSaves(const std::string& s_DocumentPath) {
    co_SavesChecked.push_back(CT_IdmlDocuments::s_Canonical(s_DocumentPath));
}

void CT_IdmlHost::v_Close(void* p_Document, int b_Save) {
    const unsigned n_Serial = co_Handles.cco_Document(p_Document).n_Serial;
    CT_IdmlDocument& co_Document = co_Documents.co_Live(n_Serial);
    if (b_Save) {
        co_Document.v_Save(b_Writes(n_Serial));  // a failed save leaves the document open
    }
    auto v_Forget = [this, n_Serial]() {
        co_Documents.v_Drop(n_Serial);
        v_ForgetExported(n_Serial);
        co_Digests.erase(n_Serial);
        co_Settings.erase(n_Serial);
        if (n_BoxListSerial == n_Serial) {
            co_BoxList.clear();
            co_ListedByKey.clear();
            n_BoxListSerial = 0;
        }
    };
    // The listener asks for the active document to learn which one is closing.
    co_Documents.v_Activate(n_Serial);
    try {
        if (CT_Listener* pco_Listener = CT_DocumentInterface::spco_GetCloseDocumentListener()) {
            (*pco_Listener)();
        }
    } catch (...) {
        v_Forget();
        throw;
    }
    v_Forget();
}

void CT_IdmlHost::v_GotoThePage(int) {}
void CT_IdmlHost::v_GotoPasteBoard() {}
void CT_IdmlHost::v_GotoMasterPage() {}

const CT_IdmlDocument& CT_IdmlHost::cco_GetActiveDocument() const {
    const unsigned n_Serial = co_Documents.n_Active();
    if (n_Serial == 0) {
        CT_Errors::v_ThrowError(e_UnknownDocument, "no IDML document is open");
    }
    return co_Documents.co_Live(n_Serial);
}

// --- The box list ----------------------------------------------------------------------------

void CT_IdmlHost::v_GenerateBoxList(int b_IgnorePasteBoard) {
    const unsigned n_Serial = co_Documents.n_Active();
    if (n_Serial == 0) {
        CT_Errors::v_ThrowError(e_UnknownDocument, "no IDML document is open");
    }
    const CT_IdmlDocument& co_document = co_Documents.co_Live(n_Serial);
    std::vector<CT_IdmlBox> co_all =
        CT_IdmlBoxList(co_document, co_Selection).co_AllBoxes(b_IgnorePasteBoard != 0);
    const std::vector<std::string>* pco_always = nullptr;
    const std::string s_path = CT_IdmlDocuments::s_Canonical(co_document.s_Path());
    for (const auto& co_entry : co_AlwaysListed) {
        if (co_entry.first == s_path) {
            pco_always = &co_entry.second;
        }
    }
    v_ReportLeftOut(co_all, co_document);
    co_BoxList.clear();
    co_BoxList.reserve(co_all.size());
    co_ListedByKey.clear();
    co_ListedByKey.reserve(co_all.size());
    const std::unordered_set<std::string> co_always =
        pco_always != nullptr
            ? std::unordered_set<std::string>(pco_always->begin(), pco_always->end())
            : std::unordered_set<std::string>();
    for (CT_IdmlBox& co_box : co_all) {
        if (co_box.s_LeftOut.empty() || co_Selection.b_ListLeftOut ||
            co_always.count(CT_IdmlTagText::ss_Key(co_box.s_Key)) != 0) {
            co_ListedByKey.emplace(co_box.s_Key, co_BoxList.size());
            co_BoxList.push_back(std::move(co_box));
        }
    }
    n_BoxListSerial = n_Serial;
    n_Cursor = 0;
}

void CT_IdmlHost::v_AlwaysList(const std::string& s_DocumentPath,
                               std::vector<std::string> co_Keys) {
    co_AlwaysListed.emplace_back(CT_IdmlDocuments::s_Canonical(s_DocumentPath), std::move(co_Keys));
}

void CT_IdmlHost::v_ImportAhead(const std::string& s_DocumentPath, CT_Contents pco_Contents) {
    co_Ahead.emplace_back(CT_IdmlDocuments::s_Canonical(s_DocumentPath), std::move(pco_Contents));
}

void CT_IdmlHost::v_TranslateAhead(const std::string& s_DocumentPath, CT_Translate f_Translate,
                                   std::shared_ptr<const void> pco_Owner) {
    // One translation a document: a later one for the same path takes the place of one that no
    // reading took.
    const std::string s_canonical = CT_IdmlDocuments::s_Canonical(s_DocumentPath);
    co_TranslatingAhead.erase(std::remove_if(co_TranslatingAhead.begin(), co_TranslatingAhead.end(),
                                             [&](const CT_TranslateAhead& co_It) {
                                                 return co_It.s_Canonical == s_canonical;
                                             }),
                              co_TranslatingAhead.end());
    co_TranslatingAhead.push_back({s_canonical, std::move(f_Translate), std::move(pco_Owner)});
}

bool CT_IdmlHost::sb_Translated(const pugi::xml_node& co_Story, const std::string& s_Key,
                                const CT_IdmlStoryOptions& co_Options,
                                const CT_Translate& f_Translate, std::string& s_Translated,
                                std::optional<CT_IdmlStoryAnalysis>& co_Kept) {
    CT_IdmlStoryOptions co_kept = co_Options;
    co_kept.b_SkipNotes = false;
    std::vector<CT_IdmlStoryCodeInfo> co_keptCodes;
    const std::string s_kept =
        CT_IdmlStoryCodec::s_Export(co_Kept.emplace(co_Story, co_kept), co_keptCodes);
    const std::string s_key = CT_IdmlTagText::ss_Key(s_Key);
    if (!CT_IdmlStoryCodec::sb_HasNotes(co_keptCodes)) {
        return f_Translate(s_key, {s_kept, co_keptCodes}, nullptr, s_Translated);
    }
    CT_IdmlStoryOptions co_skipped = co_Options;
    co_skipped.b_SkipNotes = true;
    std::vector<CT_IdmlStoryCodeInfo> co_skippedCodes;
    const std::string s_skipped =
        CT_IdmlStoryCodec::s_Export(co_Story, co_skippedCodes, co_skipped);
    const CT_ExportedStory co_without{s_skipped, co_skippedCodes};
    return f_Translate(s_key, {s_kept, co_keptCodes}, &co_without, s_Translated);
}

void CT_IdmlHost::sv_ImportAhead(const pugi::xml_node& co_Story, const std::string& s_Key,
                                 const std::string_view& co_Content,
                                 const CT_IdmlStoryOptions& co_Options, bool b_Exported,
                                 bool b_Writes, CT_Digest& co_Digest,
                                 CT_IdmlStoryAnalysis* pco_Kept) {
    co_Digest.b_Ahead = true;
    co_Digest.n_AheadSize = co_Content.size();
    co_Digest.n_AheadHash = std::hash<std::string_view>()(co_Content);
    try {
        const CT_String co_key(CT_IdmlTagText::ss_Key(s_Key));
        std::string* pco_exported = b_Exported ? &co_Digest.s_Content : nullptr;
        if (pco_Kept != nullptr ? CT_IdmlStoryCodec::sb_Import(*pco_Kept, co_Story, co_Content,
                                                               co_key, co_Options, pco_exported)
                                : CT_IdmlStoryCodec::sb_Import(co_Story, co_Content, co_key,
                                                               co_Options, pco_exported)) {
            co_Digest.b_AheadChanged = true;
            const std::string s_bytes = CT_IdmlXmlPart::ss_Serialize(co_Story.root());
            // A save that only checks can refuse a story for its size or, above the package's
            // ratio floor, for how tightly it packs: below that floor packing tells it nothing,
            // and the story read as it was stands in for the imported one, which nothing reads.
            if (b_Writes || s_bytes.size() > CT_IdmlPackage::n_RatioFloor) {
                co_Digest.pco_AheadPacked = std::make_unique<CT_IdmlPackedSource>(
                    s_bytes, CT_IdmlDeflater::sco_ThisThread().s_Pack(s_bytes));
            }
        }
    } catch (et_ErrorCode eo_code) {
        // Exported content is never empty (an empty story is a line end): empty, the story
        // itself could not be read, which the document's reading reports.
        if (b_Exported && co_Digest.s_Content.empty()) {
            throw;
        }
        co_Digest.eo_AheadError = eo_code;
        co_Digest.co_AheadError = CT_Errors::cco_GetLastError();
    }
}

bool CT_IdmlHost::b_TakeAhead(void* p_Box, const std::string& s_Content) {
    const CT_Digest* pco_digest = pco_DigestOf(p_Box);
    if (pco_digest == nullptr || !pco_digest->b_Ahead ||
        pco_digest->n_AheadSize != s_Content.size() ||
        pco_digest->n_AheadHash != std::hash<std::string_view>()(s_Content)) {
        return false;
    }
    ++n_TakenAhead;
    co_LastContent.n_Serial = 0;
    const CT_IdmlBoxHandle& co_handle = co_Handles.cco_Box(p_Box);
    auto& co_byKey = co_Digests.at(co_handle.n_Serial).co_ByKey;
    CT_Digest& co_digest = co_byKey.at(co_handle.co_Box.s_Key);
    if (!co_digest.pco_AheadPacked && co_digest.eo_AheadError == e_NoError) {
        if (co_digest.b_AheadChanged) {
            co_Documents.co_Live(co_handle.n_Serial).v_MarkChangedUnkept();
        }
        co_digest.b_Ahead = false;  // what was read of it still holds
        return true;
    }
    // What was read of the story goes when the import changed it or failed, as it does when
    // the story is imported now.
    CT_Digest co_taken = std::move(co_digest);
    v_ForgetExported(co_handle.n_Serial, &co_handle.co_Box.s_Key);
    co_byKey.erase(co_handle.co_Box.s_Key);
    if (co_taken.eo_AheadError != e_NoError) {
        CT_Errors::v_ThrowError(co_taken.eo_AheadError, co_taken.co_AheadError);
    }
    co_Documents.co_Live(co_handle.n_Serial)
        .v_PutPacked(co_handle.co_Box.s_Key, std::move(co_taken.pco_AheadPacked));
    return true;
}

void CT_IdmlHost::v_SetLeftOutReporter(
    std::function<void(const std::string&, unsigned)> co_Report) {
    co_Reporter = std::move(co_Report);
}

std::vector<CT_IdmlBoxList::CT_Frame> CT_IdmlHost::co_GetFrames() const {
    const unsigned n_serial = co_Documents.n_Active();
    if (n_serial == 0) {
        CT_Errors::v_ThrowError(e_UnknownDocument, "no IDML document is open");
    }
    return CT_IdmlBoxList(co_Documents.co_Live(n_serial), co_Selection).co_GetFrames();
}

const CT_IdmlBox* CT_IdmlHost::pco_FindListed(const std::string& s_Key) const {
    const auto co_found = co_ListedByKey.find(s_Key);
    return co_found == co_ListedByKey.end() ? nullptr : &co_BoxList[co_found->second];
}

// One line: how many stories stay behind and why, most frequent reason first.
void CT_IdmlHost::v_ReportLeftOut(const std::vector<CT_IdmlBox>& co_All,
                                  const CT_IdmlDocument& co_Document) {
    if (!co_Reporter) {
        return;
    }
    std::vector<std::pair<std::string, unsigned>> co_reasons;
    unsigned n_left = 0;
    for (const CT_IdmlBox& co_box : co_All) {
        if (co_box.s_LeftOut.empty()) {
            continue;
        }
        ++n_left;
        auto it = std::find_if(co_reasons.begin(), co_reasons.end(),
                               [&](const auto& co_r) { return co_r.first == co_box.s_LeftOut; });
        if (it == co_reasons.end()) {
            co_reasons.emplace_back(co_box.s_LeftOut, 1);
        } else {
            ++it->second;
        }
    }
    std::string s_line;
    if (n_left > 0) {
        std::stable_sort(
            co_reasons.begin(), co_reasons.end(),
            [](const auto& co_a, const auto& co_b) { return co_a.second > co_b.second; });
        s_line +=
            std::to_string(n_left) + (n_left == 1 ? " story is" : " stories are") + " left out:";
        const char* pc_separator = " ";
        for (const auto& co_reason : co_reasons) {
            s_line += pc_separator + std::to_string(co_reason.second) + " " + co_reason.first;
            pc_separator = ", ";
        }
        s_line += ".";
    }
    const std::string s_report = co_Document.s_Path() + "\n" + s_line;
    if (s_line.empty() || s_report == s_LastReport) {
        return;
    }
    s_LastReport = s_report;
    co_Reporter(s_line, n_left);
}

int CT_IdmlHost::b_IsBoxListEmpty() {
    return co_BoxList.empty();
}

void CT_IdmlHost::v_ResetBoxList() {
    n_Cursor = 0;
}

void* CT_IdmlHost::p_GetCurrentBox() {
    if (n_Cursor >= co_BoxList.size()) {
        CT_Errors::v_ThrowError(e_HostFailure, "the box list has no current box");
    }
    return co_Handles.p_NewBox(n_BoxListSerial, co_Documents.s_FilePath(n_BoxListSerial),
                               co_BoxList[n_Cursor]);
}

int CT_IdmlHost::b_NextTextBox() {
    if (n_Cursor < co_BoxList.size()) {
        ++n_Cursor;
    }
    return n_Cursor < co_BoxList.size();
}

void CT_IdmlHost::v_PrepareForExport() {
    n_StoryCounter = 0;
    co_ExportedCodes.clear();
}
void CT_IdmlHost::v_CloseExport() {}
void CT_IdmlHost::v_PrepareForImport() {
    n_StoryCounter = 0;
}
void CT_IdmlHost::v_CloseImport() {}

CT_StorySetting CT_IdmlHost::co_GetStorySetting(const CT_String& co_Key) {
    const CT_IdmlDocument& co_document = cco_GetActiveDocument();
    std::unique_ptr<CT_IdmlStorySettings>& pco_settings = co_Settings[co_Documents.n_Active()];
    if (!pco_settings) {
        pco_settings = std::make_unique<CT_IdmlStorySettings>(co_document);
    }
    std::string s_key(co_Key.sv());
    if (!co_document.b_HasStory(s_key)) {
        s_key = CT_IdmlTagText::ss_StoryId(s_key);
    }
    const CT_Digest* pco_digest = pco_KeptOf(co_Documents.n_Active(), s_key);
    return pco_settings->co_Setting(
        s_key, pco_digest != nullptr && pco_digest->b_HasType ? &pco_digest->co_Type : nullptr);
}

// --- Boxes -----------------------------------------------------------------------------------

const CT_IdmlBox& CT_IdmlHost::cco_LiveBox(void* p_Box) const {
    const CT_IdmlBoxHandle& co_Handle = co_Handles.cco_Box(p_Box);
    co_Documents.co_Live(co_Handle.n_Serial);
    return co_Handle.co_Box;
}

CT_IdmlStoryOptions CT_IdmlHost::co_OptionsOf(void* p_Box) const {
    CT_IdmlStoryOptions co_options;
    co_options.b_SkipNotes = b_SkipNotes;
    co_options.pco_HiddenConditions =
        &co_Documents.co_Live(co_Handles.cco_Box(p_Box).n_Serial).co_HiddenConditions();
    return co_options;
}

pugi::xml_node CT_IdmlHost::co_StoryOf(void* p_Box, CT_IdmlXmlPart** ppco_Part) const {
    const CT_IdmlBoxHandle& co_Handle = co_Handles.cco_Box(p_Box);
    CT_IdmlXmlPart* pco_Part =
        co_Documents.co_Live(co_Handle.n_Serial).pco_FindStory(co_Handle.co_Box.s_Key);
    if (pco_Part == nullptr) {
        CT_Errors::v_ThrowError(
            e_HostFailure,
            CT_String(("no story " + co_Handle.co_Box.s_Key + " in the document").c_str()));
    }
    if (ppco_Part != nullptr) {
        *ppco_Part = pco_Part;
    }
    return CT_IdmlDocument::so_Inner(*pco_Part);
}

const CT_IdmlHost::CT_Digest* CT_IdmlHost::pco_KeptOf(unsigned n_Serial,
                                                      const std::string& s_Key) const {
    const auto co_digests = co_Digests.find(n_Serial);
    if (co_digests == co_Digests.end()) {
        return nullptr;
    }
    const auto co_digest = co_digests->second.co_ByKey.find(s_Key);
    return co_digest == co_digests->second.co_ByKey.end() ? nullptr : &co_digest->second;
}

const CT_IdmlHost::CT_Digest* CT_IdmlHost::pco_KeptAsNow(unsigned n_Serial,
                                                         const std::string& s_Key,
                                                         bool b_Skip) const {
    // Asked for every box more than once: each table is looked up once.
    const auto co_digests = co_Digests.find(n_Serial);
    if (co_digests == co_Digests.end() || co_digests->second.b_SkipNotes != b_Skip) {
        return nullptr;
    }
    const auto co_digest = co_digests->second.co_ByKey.find(s_Key);
    if (co_digest == co_digests->second.co_ByKey.end() ||
        co_digest->second.n_Hidden != co_Documents.co_Live(n_Serial).co_HiddenConditions().size()) {
        return nullptr;
    }
    return &co_digest->second;
}

const CT_IdmlHost::CT_Digest* CT_IdmlHost::pco_DigestOf(void* p_Box) const {
    const CT_IdmlBoxHandle& co_handle = co_Handles.cco_Box(p_Box);
    return pco_KeptAsNow(co_handle.n_Serial, co_handle.co_Box.s_Key, b_SkipNotes);
}

bool CT_IdmlHost::b_Counted(const std::string& s_Key, std::string& s_Content,
                            std::vector<CT_IdmlStoryCodeInfo>* pco_Codes) const {
    const CT_IdmlDocument& co_document = cco_GetActiveDocument();
    // What is counted shows every condition and keeps notes, whatever the digest was read
    // under; a digest without codes keeps no counted content apart from its own.
    const CT_Digest* pco_found = pco_KeptOf(co_Documents.n_Active(), s_Key);
    if (pco_found != nullptr && !pco_found->b_Cut &&
        (pco_found->b_HasCodes || (pco_Codes == nullptr && pco_found->b_Counted))) {
        s_Content = pco_found->b_Counted ? pco_found->s_Content : pco_found->s_Counted;
        if (pco_Codes != nullptr) {
            *pco_Codes = pco_found->b_Counted ? pco_found->co_Codes : pco_found->co_CountedCodes;
        }
        return true;
    }
    const CT_IdmlXmlPart* pco_part = co_document.pco_FindStory(s_Key);
    if (pco_part == nullptr) {
        return false;
    }
    const pugi::xml_node co_story = CT_IdmlDocument::so_Inner(*pco_part);
    if (pco_Codes == nullptr) {
        s_Content = CT_IdmlStoryCodec::s_Export(co_story);
        return true;
    }
    pco_Codes->clear();
    s_Content = CT_IdmlStoryCodec::s_Export(co_story, *pco_Codes);
    return true;
}

bool CT_IdmlHost::b_ExportedContent(const std::string& s_Document, const std::string& s_Key,
                                    bool b_SkipNotes, std::string& s_Content,
                                    std::vector<CT_IdmlStoryCodeInfo>& co_Codes) const {
    const unsigned n_serial =
        s_Document.empty() ? co_Documents.n_Active() : co_Documents.n_Find(s_Document);
    if (n_serial == 0) {
        return false;
    }
    const CT_IdmlDocument& co_document = co_Documents.co_Live(n_serial);
    // A document read through kept what export writes of each story as it opened: no tree
    // needs parsing again for it.
    const CT_Digest* pco_digest = pco_KeptAsNow(n_serial, s_Key, b_SkipNotes);
    if (pco_digest != nullptr && pco_digest->b_HasCodes && !pco_digest->b_Cut) {
        s_Content = pco_digest->s_Content;
        co_Codes = pco_digest->co_Codes;
        return true;
    }
    const CT_IdmlXmlPart* pco_part = co_document.pco_FindStory(s_Key);
    if (pco_part == nullptr) {
        return false;
    }
    CT_IdmlStoryOptions co_options;
    co_options.b_SkipNotes = b_SkipNotes;
    co_options.pco_HiddenConditions = &co_document.co_HiddenConditions();
    co_Codes.clear();
    s_Content =
        CT_IdmlStoryCodec::s_Export(CT_IdmlDocument::so_Inner(*pco_part), co_Codes, co_options);
    return true;
}

const CT_IdmlTextLanguages::CT_Counts* CT_IdmlHost::pco_TextLanguages() const {
    const unsigned n_serial = co_Documents.n_Active();
    const auto co_digests = co_Digests.find(n_serial);
    if (co_digests == co_Digests.end() || !co_digests->second.b_Languages ||
        co_Documents.co_Live(n_serial).b_IsChanged()) {
        return nullptr;
    }
    return &co_digests->second.co_Languages;
}

bool CT_IdmlHost::b_DiffersFromExport(const std::string& s_Key, std::string_view co_Content) const {
    const unsigned n_serial = co_Documents.n_Active();
    const CT_IdmlDocument& co_document = cco_GetActiveDocument();
    // A document read through kept what an export writes: content that is that content, or
    // that differs from it in a story without notes (whose export is the same with notes left
    // out), needs no tree. Only what is left is parsed, one story at a time: a file of
    // thousands of stories compared with a large document keeps no tree of it.
    const auto co_digests = co_Digests.find(n_serial);
    const CT_Digest* pco_digest =
        co_digests == co_Digests.end()
            ? nullptr
            : pco_KeptAsNow(n_serial, s_Key, co_digests->second.b_SkipNotes);
    if (pco_digest != nullptr && !pco_digest->b_Cut) {
        if (co_Content == pco_digest->s_Content) {
            return false;
        }
        if (pco_digest->b_HasCodes && !CT_IdmlStoryCodec::sb_HasNotes(pco_digest->co_Codes)) {
            return true;
        }
    }
    CT_IdmlStoryOptions co_options;
    co_options.pco_HiddenConditions = &co_document.co_HiddenConditions();
    bool b_differs = false;
    co_document.b_ReadStory(s_Key, [&](const pugi::xml_node& co_Story) {
        b_differs = !CT_IdmlStoryCodec::sb_IsUnchanged(co_Story, co_Content, co_options);
    });
    return b_differs;
}

// A box's preview is asked for twice in a row (as text and as wide text), and a story's
// content costs a whole reading of its XML: the last one is kept for the next call.
std::string_view CT_IdmlHost::cco_ContentOf(void* p_Box, std::size_t n_Characters) {
    const CT_Digest* pco_digest = pco_DigestOf(p_Box);
    if (pco_digest != nullptr && (!pco_digest->b_Cut || n_Characters <= sn_PreviewCharacters)) {
        return pco_digest->s_Content;
    }
    const CT_IdmlBoxHandle& co_handle = co_Handles.cco_Box(p_Box);
    const pugi::xml_node co_story = co_StoryOf(p_Box);
    if (co_LastContent.n_Serial != co_handle.n_Serial ||
        co_LastContent.s_Key != co_handle.co_Box.s_Key ||
        co_LastContent.b_SkipNotes != b_SkipNotes) {
        co_LastContent.n_Serial = 0;  // nothing is kept should the export fail
        co_LastContent.s_Content = CT_IdmlStoryCodec::s_Export(co_story, co_OptionsOf(p_Box));
        co_LastContent.s_Key = co_handle.co_Box.s_Key;
        co_LastContent.b_SkipNotes = b_SkipNotes;
        co_LastContent.n_Serial = co_handle.n_Serial;
    }
    return co_LastContent.s_Content;
}

int CT_IdmlHost::b_GetContent(CT_String& co_Text, void* p_Box, unsigned n_Limit, int b_Preview,
                              int) {
    std::string s_Text;
    bool b_More = CT_IdmlStoryPlainText::sb_Extract(cco_ContentOf(p_Box, std::size_t{n_Limit} + 2),
                                                    s_Text, n_Limit, b_Preview != 0);
    co_Text = CT_String(s_Text);
    return b_More;
}

int CT_IdmlHost::b_GetContent(char16_t* puz_Text, void* p_Box, unsigned n_Limit, int b_Preview,
                              int) {
    if (puz_Text == nullptr) {
        CT_Errors::v_ThrowError(e_HostFailure, "b_GetContent was given no buffer");
    }
    // n_Limit code points give at least n_Limit UTF-16 units; cut there, never inside a pair.
    std::string s_Text;
    bool b_More = CT_IdmlStoryPlainText::sb_Extract(cco_ContentOf(p_Box, std::size_t{n_Limit} + 2),
                                                    s_Text, n_Limit, b_Preview != 0);
    bool b_Cut = false;
    const std::size_t n_Out = CT_Utf8::sn_ToUtf16(s_Text, puz_Text, n_Limit, b_Cut);
    b_More = b_More || b_Cut;
    puz_Text[n_Out] = 0;
    return b_More;
}

CT_String CT_IdmlHost::co_GetKey(void* p_Box) {
    return CT_String(CT_IdmlTagText::ss_Key(co_Handles.cco_Box(p_Box).co_Box.s_Key));
}

unsigned CT_IdmlHost::n_GetPage(void* p_Box) {
    return cco_LiveBox(p_Box).n_Page;
}

int CT_IdmlHost::b_IsOnMasterPage(void* p_Box) {
    return cco_LiveBox(p_Box).b_OnMasterPage;
}

int CT_IdmlHost::b_IsOnPasteBoard(void* p_Box) {
    return cco_LiveBox(p_Box).b_OnPasteBoard;
}

CT_String CT_IdmlHost::co_GetSpreadName(void* p_Box) {
    return CT_String(CT_IdmlTagText::ss_Location(cco_LiveBox(p_Box).s_SpreadName));
}

void CT_IdmlHost::v_GetPosition(void* p_Box, tagPOINT& co_Position) {
    co_Position = cco_LiveBox(p_Box).co_Position;
}

int CT_IdmlHost::b_IsEqualBox(void* p_Box, void* p_Other) {
    if (p_Box == nullptr || p_Other == nullptr) {
        return p_Box == p_Other;
    }
    return co_Handles.cco_Box(p_Box).n_Box == co_Handles.cco_Box(p_Other).n_Box;
}

void CT_IdmlHost::v_DisplayBox(void* p_Box) {
    cco_LiveBox(p_Box);
}

void CT_IdmlHost::v_ReleaseBox(void*& p_Box) {
    co_Handles.v_ReleaseBox(p_Box);
}

int CT_IdmlHost::b_Export(void* p_Box, CT_Files& co_File) {
    std::vector<CT_IdmlStoryCodeInfo> co_codes;
    const CT_Digest* pco_digest = pco_DigestOf(p_Box);
    if (pco_digest != nullptr && !pco_digest->b_Cut) {
        co_File.v_Write(pco_digest->s_Content.data(), pco_digest->s_Content.size());
        // Written, the content is kept only as far as a story list shows it: a conversion of
        // the file that follows holds the file instead, and anything that asks for more reads
        // the story again.
        const CT_IdmlBoxHandle& co_handle = co_Handles.cco_Box(p_Box);
        CT_Digest& co_written =
            co_Digests.at(co_handle.n_Serial).co_ByKey.at(co_handle.co_Box.s_Key);
        if (co_written.s_Content.size() > sn_PreviewCharacters) {
            co_written.b_Cut =
                CT_IdmlStoryPlainText::sb_KeepStart(co_written.s_Content, sn_PreviewCharacters);
        }
        if (co_written.b_HasCodes) {
            CT_ExportedCodes& co_exported = co_ExportedCodes[co_handle.co_Box.s_Key];
            co_exported.n_Serial = co_handle.n_Serial;
            co_exported.pco_Kept = &co_written.co_Codes;
            co_exported.co_Own.clear();
        }
        ++n_StoryCounter;
        return 0;
    }
    const std::string s_Content =
        CT_IdmlStoryCodec::s_Export(co_StoryOf(p_Box), co_codes, co_OptionsOf(p_Box));
    co_File.v_Write(s_Content.data(), s_Content.size());
    CT_ExportedCodes& co_exported = co_ExportedCodes[co_Handles.cco_Box(p_Box).co_Box.s_Key];
    co_exported.n_Serial = co_Handles.cco_Box(p_Box).n_Serial;
    co_exported.pco_Kept = nullptr;
    co_exported.co_Own = std::move(co_codes);
    ++n_StoryCounter;
    return 0;
}

int CT_IdmlHost::b_Import(void* p_Box, CT_Files& co_File, unsigned n_Count) {
    std::string s_Content;
    co_File.v_Read(s_Content, n_Count);
    if (b_TakeAhead(p_Box, s_Content)) {
        ++n_StoryCounter;
        return 0;
    }
    CT_IdmlXmlPart* pco_Part = nullptr;
    pugi::xml_node co_Story = co_StoryOf(p_Box, &pco_Part);
    // Content the translator left as it was changes nothing, so the story keeps its bytes in
    // the package.
    const CT_IdmlStoryOptions co_options = co_OptionsOf(p_Box);
    auto v_Forget = [&]() {
        co_LastContent.n_Serial = 0;
        const CT_IdmlBoxHandle& co_handle = co_Handles.cco_Box(p_Box);
        const auto co_digests = co_Digests.find(co_handle.n_Serial);
        if (co_digests != co_Digests.end()) {
            v_ForgetExported(co_handle.n_Serial, &co_handle.co_Box.s_Key);
            co_digests->second.co_ByKey.erase(co_handle.co_Box.s_Key);
        }
    };
    bool b_changed = false;
    try {
        b_changed = CT_IdmlStoryCodec::sb_Import(co_Story, s_Content, co_GetKey(p_Box), co_options);
    } catch (...) {
        v_Forget();  // whatever the story holds now, what was known of it may be gone
        throw;
    }
    if (b_changed) {
        v_Forget();
        pco_Part->v_MarkChanged();
        co_Documents.co_Live(co_Handles.cco_Box(p_Box).n_Serial).v_PutAway(*pco_Part);
    }
    ++n_StoryCounter;
    return 0;
}

const std::vector<CT_IdmlStoryCodeInfo>* CT_IdmlHost::pco_ExportedCodes(
    const std::string& s_Key) const {
    auto co_found = co_ExportedCodes.find(s_Key);
    if (co_found == co_ExportedCodes.end()) {
        return nullptr;
    }
    return co_found->second.pco_Kept != nullptr ? co_found->second.pco_Kept
                                                : &co_found->second.co_Own;
}

void CT_IdmlHost::v_ForgetExported(unsigned n_Serial, const std::string* ps_Key) {
    const auto b_Gone = [n_Serial](const CT_ExportedCodes& co_Codes) {
        return co_Codes.pco_Kept != nullptr && co_Codes.n_Serial == n_Serial;
    };
    // A story's own is looked up: an import after an export forgets one story at a time.
    if (ps_Key != nullptr) {
        const auto co_found = co_ExportedCodes.find(*ps_Key);
        if (co_found != co_ExportedCodes.end() && b_Gone(co_found->second)) {
            co_ExportedCodes.erase(co_found);
        }
        return;
    }
    for (auto co_it = co_ExportedCodes.begin(); co_it != co_ExportedCodes.end();) {
        co_it = b_Gone(co_it->second) ? co_ExportedCodes.erase(co_it) : std::next(co_it);
    }
}

unsigned CT_IdmlHost::n_GetStoryCounter() {
    return n_StoryCounter;
}

// --- Tagged files, progress and listeners ----------------------------------------------------

CT_String CT_IdmlHost::co_GetOpenVersionTag() {
    return CT_String(spc_OpenTag);
}
CT_String CT_IdmlHost::co_GetCloseVersionTag() {
    return CT_String(spc_CloseTag);
}
CT_String CT_IdmlHost::co_GetTaggedExtension() {
    return CT_String(s_TaggedExtension.c_str());
}
const CT_String& CT_IdmlHost::cco_GetDtpTaggedFilter() {
    return co_Filter;
}

CT_ProgressListener* CT_IdmlHost::pco_GetProgressListener() {
    return pco_Progress;
}

CT_ParentProgressListener* CT_IdmlHost::pco_GetParentProgressListener() {
    return pco_ParentProgress;
}

int CT_IdmlHost::b_IsCancel() {
    return co_Cancel ? co_Cancel() : 0;
}

void CT_IdmlHost::v_PushListener(CT_Listener* pco_Listener) {
    co_Listeners.push_back(pco_Listener);
}

void CT_IdmlHost::v_PopListener() {
    if (!co_Listeners.empty()) {
        co_Listeners.pop_back();
    }
}

void CT_IdmlHost::v_StartCounting(int b_Reset) {
    if (b_Reset) {
        n_StoryCounter = 0;
    }
}
