// The host backend for IDML packages on disk: documents are opened, changed and saved by this
// process. Keys are story ids; a story's content is the tagged text of the story codec. The
// creator owns the host and installs it with CT_Host::sv_Install; the host owns its open
// documents and every handle it gives out (each release frees one; the rest go with the host).
// Progress and cancel come from objects the creator plugs in; there is no screen, so showing a
// page or a box does nothing.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/host/ct_host_backend.h"
#include "platform/host/ct_parent_progress_listener.h"
#include "platform/host/ct_progress_listener.h"
#include "platform/host/idml/ct_idml_box.h"
#include "platform/host/idml/ct_idml_box_list.h"
#include "platform/host/idml/ct_idml_documents.h"
#include "platform/host/idml/ct_idml_handles.h"
#include "platform/host/idml/ct_idml_selection.h"
#include "platform/host/idml/ct_idml_story_analysis.h"
#include "platform/host/idml/ct_idml_story_code_info.h"
#include "platform/host/idml/ct_idml_story_options.h"
#include "platform/host/idml/ct_idml_story_settings.h"
#include "platform/host/idml/ct_idml_text_languages.h"

class CT_IdmlHost : public CT_HostBackend {
  public:
    CT_IdmlHost();
    ~CT_IdmlHost() override;
    CT_IdmlHost(const CT_IdmlHost&) = delete;
    CT_IdmlHost& operator=(const CT_IdmlHost&) = delete;

    // The listeners stay the caller's; null goes back to the silent default.
    void v_SetProgressListener(CT_ProgressListener* pco_Listener);
    void v_SetParentProgressListener(CT_ParentProgressListener* pco_Listener);
    // Asked at every cancel poll; nonzero means the user cancelled. Empty: never cancelled.
    void v_SetCancelSource(std::function<int()> co_Source);

    // Which stories the box list gives the kernel (see CT_IdmlSelection). By default the
    // stories of frames that do not print are left out.
    void v_SetSelection(const CT_IdmlSelection& co_Choice) { co_Selection = co_Choice; }
    const CT_IdmlSelection& cco_GetSelection() const { return co_Selection; }
    // Whether notes are left out of exported stories (each then one code) or shown in a
    // paired code of their own (the default). Import takes either.
    void v_SetSkipNotes(bool b_Skip) { b_SkipNotes = b_Skip; }
    // Stories of the document at the path that are listed whatever the selection: those a
    // tagged file about to be imported names (as the tagged file writes them, co_GetKey), so
    // that a file exported with another selection finds its stories and one exported with this
    // selection finds exactly its own.
    void v_AlwaysList(const std::string& s_DocumentPath, std::vector<std::string> co_Keys);
    // The translation about to be imported into the document at the path, by key as the tagged
    // file writes them (co_GetKey). A document opened to be read through from now on imports
    // each such story as it is read (on the threads it is read on) and keeps the result aside,
    // packed; an import of the same content into the story then takes that result, or raises
    // what the import raised, instead of reading the story again. Other content, and every
    // story not imported so, is left as it was: what the import does is the same either way.
    // The contents are shared with the caller, who may go on reading them; they may be views
    // into text that the pointer keeps alive.
    using CT_Contents = std::shared_ptr<const std::map<std::string, std::string_view>>;
    void v_ImportAhead(const std::string& s_DocumentPath, CT_Contents pco_Contents);
    // A translation whose content for a story is made from the story as it is, for the
    // document at the path: given the story's key (as the tagged file writes it), its content
    // as export writes it with notes kept and what its codes stand for, and the same with notes
    // skipped when the story has notes (null when it has none), the function puts the content
    // to import into the story in the string it is given and says so, or gives false for none.
    // A document opened to be read through from now on asks it of each story as it is read, on
    // the threads it is read on, and imports ahead what it gives, as v_ImportAhead does, and
    // then lets it go. pco_Owner, which the host keeps with the document, keeps alive what the
    // function uses.
    struct CT_ExportedStory {
        const std::string& s_Content;
        const std::vector<CT_IdmlStoryCodeInfo>& co_Codes;
    };
    using CT_Translate =
        std::function<bool(const std::string& s_Key, const CT_ExportedStory& co_Kept,
                           const CT_ExportedStory* pco_Skipped, std::string& s_Translated)>;
    void v_TranslateAhead(const std::string& s_DocumentPath, CT_Translate f_Translate,
                          std::shared_ptr<const void> pco_Owner);
    // Saves of the document at the path check all that could refuse them (a story too large
    // to be read again, an archive at odds with itself) and write nothing: for a trial import,
    // whose saved copy no one would read.
    void v_OnlyCheckSaves(const std::string& s_DocumentPath);
    // How many imports took what was imported ahead, since the host began.
    unsigned n_ImportedAhead() const { return n_TakenAhead; }
    // Called when a new box list leaves stories out, with the number and one line that says
    // how many and why (after a warning line for each chosen layer name the document lacks).
    void v_SetLeftOutReporter(std::function<void(const std::string&, unsigned)> co_Reporter);
    // What a document read through keeps of each story: the less, the less memory every story
    // after it has to find. Whatever is not kept is found by parsing the story again.
    enum class et_Keep {
        e_Preview,  // the first characters of its content: what a story list shows
        e_Content,  // its whole content as export writes it, and what is counted of it
        e_Codes,    // that and what its codes stand for (pco_ExportedCodes, counting by unit)
    };
    // Documents opened from now on keep no story's tree: what export and list read of each
    // story (under the notes choice made before) is taken as the document opens, one story at
    // a time, and a tree is parsed again only when something asks for more than was kept. For
    // commands that read every story, or import into them (a story an import changes is let go
    // packed, and what was read of it is dropped). An export from a document that kept less
    // than e_Codes records no codes for pco_ExportedCodes. With b_Type, each story's type sizes
    // are kept too, for co_GetStorySetting.
    void v_SetReadThrough(bool b_On, et_Keep eo_What = et_Keep::e_Codes, bool b_Type = false) {
        b_ReadThrough = b_On;
        eo_Keep = eo_What;
        b_KeepType = b_Type;
    }
    // Documents read through from now on count, story by story, what language their text is
    // set in (pco_TextLanguages): for an XLIFF file's source language.
    void v_SetCountLanguages(bool b_On) { b_CountLanguages = b_On; }
    // What the active document's stories counted as it was read through, or null when it was
    // not counted or has changed since.
    const CT_IdmlTextLanguages::CT_Counts* pco_TextLanguages() const;
    // The threads each document opened from now on is unpacked, parsed and read through on;
    // 1 (the default) reads it on the caller's alone. Whatever the number, what the host gives
    // and refuses is the same.
    void v_SetThreads(unsigned n_Threads) { co_Documents.v_SetThreads(n_Threads); }
    // The content of the active document's story as export writes it with notes kept and no
    // condition hidden, and what its codes stand for: what is counted, unit by unit. False
    // when the document has no such story.
    bool b_CountedContent(const std::string& s_Key, std::string& s_Content,
                          std::vector<CT_IdmlStoryCodeInfo>& co_Codes) const {
        return b_Counted(s_Key, s_Content, &co_Codes);
    }
    bool b_CountedContent(const std::string& s_Key, std::string& s_Content) const {
        return b_Counted(s_Key, s_Content, nullptr);
    }
    // The content of a story of the open document at the path (the active one when the path
    // is empty) as an export writes it now, under the document's hidden conditions, with its
    // notes kept or skipped, and what its codes stand for: what an exchange file made from the
    // document holds, so that a translation of it can be laid over it. False when the document
    // is not open or has no such story.
    bool b_ExportedContent(const std::string& s_Document, const std::string& s_Key,
                           bool b_SkipNotes, std::string& s_Content,
                           std::vector<CT_IdmlStoryCodeInfo>& co_Codes) const;
    // Whether the active document has the story and the content is not what its export writes,
    // with notes kept or skipped: a tagged file holding such content holds a translation (or
    // the text of an earlier version of the document).
    bool b_DiffersFromExport(const std::string& s_Key, std::string_view co_Content) const;
    // The entry of the current box list with this key, or null: its layer and why it is left
    // out, for showing the list.
    const CT_IdmlBox* pco_FindListed(const std::string& s_Key) const;

    // Every text frame and text path of the active document, with its layer and why the
    // selection leaves it out (empty when kept): what a drawing of the layout greys.
    std::vector<CT_IdmlBoxList::CT_Frame> co_GetFrames() const;

    // The listener pushed last and not yet popped, or null.
    CT_Listener* pco_GetCurrentListener() const;
    std::size_t n_OpenDocuments() const { return co_Documents.n_Count(); }
    int n_LiveDocumentHandles() const { return co_Handles.n_LiveDocuments(); }
    int n_LiveBoxHandles() const { return co_Handles.n_LiveBoxes(); }
    int n_BadReleases() const { return co_Handles.n_BadReleases(); }
    // The document opened or activated last, for callers that read its layout; raises
    // e_UnknownDocument when none is open.
    const CT_IdmlDocument& cco_GetActiveDocument() const;

    // What the codes of a story written by the last export stand for (index = code number), so
    // that a conversion of the tagged file can describe them; null for a key that export did
    // not write. Valid until the next export begins, or the document closes.
    const std::vector<CT_IdmlStoryCodeInfo>* pco_ExportedCodes(const std::string& s_Key) const;

    // The texts of tagged files.
    static const char* const spc_OpenTag;    // "<STORYPORT-TAGGED-TEXT VERSION=\"1\">\n"
    static const char* const spc_CloseTag;   // "</STORYPORT-TAGGED-TEXT>\n"
    static const char* const spc_Extension;  // ".stt"
    static const char* const spc_Filter;     // "Story Tagged Text (*.stt)|*.stt||"
    // The extension that co_GetTaggedExtension gives from now on, for a batch whose files are
    // of another format; spc_Extension until then.
    void v_SetTaggedExtension(const std::string& s_Extension) { s_TaggedExtension = s_Extension; }

    // --- The host interface --------------------------------------------------------------------
    void* p_GetCurrentDocument() override;
    void* p_IsDocumentOpen(const CT_String& co_Path) override;
    // Opens the package at the path (or finds it open) and makes it active. The option is not
    // used: every document is opened the same way.
    void* p_Open(const CT_String& co_Path, int i_Option) override;
    CT_String co_GetDocumentPath(void* p_Document) override;
    int b_IsEqual(void* p_Document, void* p_Other) override;
    void v_Release(void*& p_Document) override;
    void v_Save(void* p_Document) override;
    void v_Close(void* p_Document, int b_Save) override;
    void v_GotoThePage(int i_Page) override;
    void v_GotoPasteBoard() override;
    void v_GotoMasterPage() override;
    void v_GenerateBoxList(int b_IgnorePasteBoard) override;
    int b_IsBoxListEmpty() override;
    void v_ResetBoxList() override;
    void* p_GetCurrentBox() override;
    int b_NextTextBox() override;
    void v_PrepareForExport() override;
    void v_CloseExport() override;
    void v_PrepareForImport() override;
    void v_CloseImport() override;
    // Found once per opening of a document, by a walk of its spreads, its sections and its
    // styles; the type of a story is read from its tree when asked for.
    CT_StorySetting co_GetStorySetting(const CT_String& co_Key) override;
    int b_GetContent(CT_String& co_Text, void* p_Box, unsigned n_Limit, int b_Preview,
                     int i_Reserved) override;
    int b_GetContent(char16_t* puz_Text, void* p_Box, unsigned n_Limit, int b_Preview,
                     int i_Reserved) override;
    CT_String co_GetKey(void* p_Box) override;
    unsigned n_GetPage(void* p_Box) override;
    int b_IsOnMasterPage(void* p_Box) override;
    int b_IsOnPasteBoard(void* p_Box) override;
    CT_String co_GetSpreadName(void* p_Box) override;
    void v_GetPosition(void* p_Box, tagPOINT& co_Position) override;
    int b_IsEqualBox(void* p_Box, void* p_Other) override;
    void v_DisplayBox(void* p_Box) override;
    void v_ReleaseBox(void*& p_Box) override;
    int b_Export(void* p_Box, CT_Files& co_File) override;
    int b_Import(void* p_Box, CT_Files& co_File, unsigned n_Count) override;
    unsigned n_GetStoryCounter() override;
    CT_String co_GetOpenVersionTag() override;
    CT_String co_GetCloseVersionTag() override;
    CT_String co_GetTaggedExtension() override;
    const CT_String& cco_GetDtpTaggedFilter() override;
    CT_ProgressListener* pco_GetProgressListener() override;
    CT_ParentProgressListener* pco_GetParentProgressListener() override;
    int b_IsCancel() override;
    void v_PushListener(CT_Listener* pco_Listener) override;
    void v_PopListener() override;
    void v_StartCounting(int b_Reset) override;

  private:
    // The counted content, with its codes when asked for (null: not).
    bool b_Counted(const std::string& s_Key, std::string& s_Content,
                   std::vector<CT_IdmlStoryCodeInfo>* pco_Codes) const;
    // What a box handle carries; raises when its document has closed.
    const CT_IdmlBox& cco_LiveBox(void* p_Box) const;
    // The <Story> element behind a box handle; raises when its document has closed.
    pugi::xml_node co_StoryOf(void* p_Box, CT_IdmlXmlPart** ppco_Part = nullptr) const;
    // How the box's story is shown: the notes choice and its document's hidden conditions.
    CT_IdmlStoryOptions co_OptionsOf(void* p_Box) const;
    void* p_DocumentHandle(unsigned n_Serial);
    // Raises e_BadDocument, and forgets the document, when it lacks a layer the selection names.
    void v_RequireNamedLayers(unsigned n_Serial);
    // The story's content as export writes it, kept for the next call about the same story,
    // or as much of it as gives its first n_Characters characters.
    std::string_view cco_ContentOf(void* p_Box, std::size_t n_Characters);

    CT_IdmlDocuments co_Documents;
    CT_IdmlHandles co_Handles;

    void v_ReportLeftOut(const std::vector<CT_IdmlBox>& co_All, const CT_IdmlDocument& co_Document);

    CT_IdmlSelection co_Selection;
    bool b_SkipNotes = false;
    std::vector<std::pair<std::string, std::vector<std::string>>> co_AlwaysListed;
    std::vector<std::pair<std::string, CT_Contents>> co_Ahead;
    struct CT_TranslateAhead {
        std::string s_Canonical;
        CT_Translate f_Translate;
        std::shared_ptr<const void> pco_Owner;
    };
    std::vector<CT_TranslateAhead> co_TranslatingAhead;
    std::vector<std::string> co_SavesChecked;  // canonical paths (v_OnlyCheckSaves)
    unsigned n_TakenAhead = 0;
    std::function<void(const std::string&, unsigned)> co_Reporter;
    std::string s_LastReport;  // a rebuilt list of the same document is not reported again

    // What a document opened to be read through keeps of a story.
    struct CT_Digest {
        std::string s_Content;  // under the notes choice and the hidden conditions then known
        bool b_Cut = false;  // s_Content holds only its first sn_PreviewCharacters: counts nothing
        bool b_HasCodes = false;
        std::vector<CT_IdmlStoryCodeInfo> co_Codes;
        std::size_t n_Hidden = 0;  // how many hidden conditions were known
        bool b_Counted = false;    // whether s_Content is what is counted too
        std::string s_Counted;     // what is counted, when it differs
        std::vector<CT_IdmlStoryCodeInfo> co_CountedCodes;  // its codes
        bool b_HasType = false;
        std::vector<CT_TypeRun> co_Type;
        // What importing a translation ahead made of the story (v_ImportAhead). The content
        // imported is known by its size and hash, which its owner may then let go of: what an
        // import reads again is written from it, and matches it but by a 64-bit accident.
        bool b_Ahead = false;  // false: none was imported
        std::size_t n_AheadSize = 0;
        std::size_t n_AheadHash = 0;
        std::unique_ptr<CT_IdmlPackedSource> pco_AheadPacked;  // null: nothing changed or kept
        bool b_AheadChanged = false;  // changed, though a save that only checks keeps no copy
        et_ErrorCode eo_AheadError = e_NoError;
        CT_String co_AheadError;
    };
    struct CT_Digests {
        bool b_SkipNotes = false;
        bool b_Languages = false;  // whether co_Languages were counted
        CT_IdmlTextLanguages::CT_Counts co_Languages;
        std::unordered_map<std::string, CT_Digest> co_ByKey;
        CT_Contents pco_Ahead;     // what the digests' contents point into
        CT_Translate f_Translate;  // or a translation made from each story (v_TranslateAhead)
        std::shared_ptr<const void> pco_TranslateOwner;  // what its contents point into
    };
    // What the translation made from each story gives for this one (v_TranslateAhead); co_Kept
    // is left holding the story as read for it, notes kept.
    static bool sb_Translated(const pugi::xml_node& co_Story, const std::string& s_Key,
                              const CT_IdmlStoryOptions& co_Options,
                              const CT_Translate& f_Translate, std::string& s_Translated,
                              std::optional<CT_IdmlStoryAnalysis>& co_Kept);
    // Imports the content into the story's tree as it is read, and keeps the outcome in the
    // digest; with b_Exported, the digest's content is what the import read of the story
    // (notes kept), and a story that cannot be read at all raises as an export of it would.
    // With b_Writes false the document's saves only check (v_OnlyCheckSaves), and a story is
    // packed only where packing can refuse its save. pco_Kept: the story as sb_Translated read
    // it, which spares reading it again, or null.
    static void sv_ImportAhead(const pugi::xml_node& co_Story, const std::string& s_Key,
                               const std::string_view& co_Content,
                               const CT_IdmlStoryOptions& co_Options, bool b_Exported,
                               bool b_Writes, CT_Digest& co_Digest, CT_IdmlStoryAnalysis* pco_Kept);
    // Whether a save of the document writes it (v_OnlyCheckSaves).
    bool b_Writes(unsigned n_Serial) const;
    bool b_WritesTo(const std::string& s_Canonical) const;
    // Takes the import made ahead of the box's story when it imported this content; false
    // when there is none to take.
    bool b_TakeAhead(void* p_Box, const std::string& s_Content);
    // What the document with this serial kept of the story as it was read through, or null.
    const CT_Digest* pco_KeptOf(unsigned n_Serial, const std::string& s_Key) const;
    // The same when it was read under this notes choice and the hidden conditions the document
    // has now: what an export of it would write now.
    const CT_Digest* pco_KeptAsNow(unsigned n_Serial, const std::string& s_Key, bool b_Skip) const;
    // The box's story as its document was read through, when that is what it holds now.
    const CT_Digest* pco_DigestOf(void* p_Box) const;
    // The characters of a story's content kept for its preview (et_Keep::e_Preview): more than
    // the story list asks for, so that what it is given is what the whole content would give.
    static constexpr std::size_t sn_PreviewCharacters = 64;
    bool b_ReadThrough = false;
    et_Keep eo_Keep = et_Keep::e_Codes;
    bool b_KeepType = false;
    bool b_CountLanguages = false;
    std::unordered_map<unsigned, CT_Digests> co_Digests;  // by document serial
    std::unordered_map<unsigned, std::unique_ptr<CT_IdmlStorySettings>> co_Settings;  // by serial

    struct CT_LastContent {
        unsigned n_Serial = 0;  // 0: nothing kept
        std::string s_Key;
        bool b_SkipNotes = false;
        std::string s_Content;
    } co_LastContent;

    std::vector<CT_IdmlBox> co_BoxList;
    std::unordered_map<std::string, std::size_t> co_ListedByKey;  // index into co_BoxList
    unsigned n_BoxListSerial = 0;  // the document the box list was made of
    std::size_t n_Cursor = 0;

    unsigned n_StoryCounter = 0;
    // What export recorded of each story's codes: what the story's digest kept, when it kept
    // them (no copy of thousands of stories' codes), or a list of its own.
    struct CT_ExportedCodes {
        unsigned n_Serial = 0;
        const std::vector<CT_IdmlStoryCodeInfo>* pco_Kept = nullptr;  // the digest's
        std::vector<CT_IdmlStoryCodeInfo> co_Own;
    };
    std::unordered_map<std::string, CT_ExportedCodes> co_ExportedCodes;
    // Drops what export recorded from the document's digests, as they go.
    void v_ForgetExported(unsigned n_Serial, const std::string* ps_Key = nullptr);
    CT_ProgressListener co_SilentProgress;
    CT_ParentProgressListener co_SilentParentProgress;
    CT_ProgressListener* pco_Progress = &co_SilentProgress;
    CT_ParentProgressListener* pco_ParentProgress = &co_SilentParentProgress;
    std::function<int()> co_Cancel;
    std::vector<CT_Listener*> co_Listeners;
    CT_String co_Filter;
    std::string s_TaggedExtension = spc_Extension;
};
