#include "platform/host/memory/ct_memory_host.h"

#include "platform/common/ct_errors.h"
#include "platform/common/ct_utf8.h"
#include "platform/host/ct_document_interface.h"
#include "platform/host/ct_handle_registry.h"
#include "platform/host/ct_host.h"
#include "platform/host/ct_listener.h"
#include "platform/host/memory/ct_memory_box_list.h"
#include "platform/host/memory/ct_memory_cancel_switch.h"
#include "platform/host/memory/ct_memory_journal.h"
#include "platform/host/memory/ct_memory_progress_recorder.h"
#include "platform/host/memory/ct_memory_text.h"
#include "platform/host/memory/ct_memory_workspace.h"

#include <map>
#include <utility>

const char* const CT_MemoryHost::spc_OpenTag = "<MEMORY-TAGGED-TEXT 1.0>";
const char* const CT_MemoryHost::spc_CloseTag = "</MEMORY-TAGGED-TEXT>";
const char* const CT_MemoryHost::spc_Extension = ".mtt";
const char* const CT_MemoryHost::spc_Filter = "Memory Tagged Text (*.mtt)|*.mtt||";

namespace {
[[noreturn]] void v_Raise(et_ErrorCode eo_Code, const std::string& s_Text) {
    CT_Errors::v_ThrowError(eo_Code, CT_String(s_Text));
}

std::string s_Path(const CT_String& co_Path) {
    return std::string(co_Path.sv());
}
std::string s_Number(long long i_Number) {
    return std::to_string(i_Number);
}
}  // namespace

// What a handle names: a document by path and the opening it was given for, a box also by key.
struct CT_MemoryHandle {
    std::string s_Path;
    unsigned n_Opening = 0;
    std::string s_Key;             // empty for a document handle
    unsigned long long n_Box = 0;  // the box's identity: one number per path and key
    // The document (and its opening) that was active before p_IsDocumentOpen made this one
    // active; empty when the handle activated nothing.
    std::string s_Restore;
    unsigned n_RestoreOpening = 0;
};

// Everything the host keeps, and the checks that every operation on a handle goes through.
struct CT_MemoryHost::CT_State {
    CT_MemoryWorkspace co_Workspace;
    CT_HandleRegistry<CT_MemoryHandle> co_Documents;
    CT_HandleRegistry<CT_MemoryHandle> co_Boxes;
    std::map<std::pair<std::string, std::string>, unsigned long long> co_BoxIdentities;
    CT_MemoryBoxList co_BoxList;
    unsigned n_BoxListOpening = 0;
    CT_MemoryJournal co_Journal;
    CT_MemoryCancelSwitch co_Cancel;
    CT_MemoryProgressRecorder co_Progress;
    std::vector<CT_Listener*> co_Listeners;
    unsigned n_StoryCounter = 0;
    CT_String co_Filter{CT_MemoryHost::spc_Filter};
    std::map<std::pair<std::string, std::string>, CT_StorySetting> co_Settings;  // path, key

    void v_Enter(const std::string& s_Operation, const std::vector<std::string>& co_Arguments) {
        co_Journal.v_Enter(s_Operation, co_Arguments);
    }

    // How a handle reads in the journal.
    std::string s_Describe(const void* p_Handle) const {
        if (p_Handle == nullptr) {
            return "null";
        }
        if (const CT_MemoryHandle* pco_Box = co_Boxes.pco_Find(p_Handle)) {
            return pco_Box->s_Key;
        }
        if (const CT_MemoryHandle* pco_Document = co_Documents.pco_Find(p_Handle)) {
            return pco_Document->s_Path;
        }
        return "?";
    }

    void* p_NewDocument(const std::string& s_Path) {
        return co_Documents.p_Add({s_Path, co_Workspace.n_Opening(s_Path), "", 0, "", 0});
    }

    void* p_NewBox(const std::string& s_Key) {
        const std::string& s_Path = co_BoxList.s_Path();
        auto co_Identity =
            co_BoxIdentities.emplace(std::make_pair(s_Path, s_Key), co_BoxIdentities.size() + 1);
        return co_Boxes.p_Add({s_Path, n_BoxListOpening, s_Key, co_Identity.first->second, "", 0});
    }

    // The record behind a live handle of the wanted kind; raises e_UnknownDocument for null, a
    // released or foreign handle and a handle of the other kind.
    const CT_MemoryHandle& co_Handle(const void* p_Handle, bool b_Box) const {
        const char* pc_Kind = b_Box ? "box" : "document";
        const CT_HandleRegistry<CT_MemoryHandle>& co_Registry = b_Box ? co_Boxes : co_Documents;
        if (const CT_MemoryHandle* pco_Handle = co_Registry.pco_Find(p_Handle)) {
            return *pco_Handle;
        }
        if (co_Registry.b_WasReleased(p_Handle)) {
            v_Raise(e_UnknownDocument, std::string(pc_Kind) + " handle used after its release");
        }
        v_Raise(e_UnknownDocument, std::string("not a ") + pc_Kind + " handle of this host");
    }

    // The open document a handle names; raises e_UnknownDocument once that opening has closed.
    CT_MemoryDocument& co_LiveDocument(const CT_MemoryHandle& co_Handle) {
        if (co_Workspace.n_Opening(co_Handle.s_Path) != co_Handle.n_Opening) {
            v_Raise(e_UnknownDocument, "document " + co_Handle.s_Path + " has been closed");
        }
        return co_Workspace.co_Open(co_Handle.s_Path);
    }

    CT_MemoryBox& co_LiveBox(const void* p_Box) {
        const CT_MemoryHandle& co_Box = co_Handle(p_Box, true);
        CT_MemoryBox* pco_Box = co_LiveDocument(co_Box).pco_Find(co_Box.s_Key);
        if (pco_Box == nullptr) {
            v_Raise(e_UnknownDocument,
                    "document " + co_Box.s_Path + " has no box with the key " + co_Box.s_Key);
        }
        return *pco_Box;
    }

    // Null equals null and nothing else.
    template <typename F>
    int b_SameOrBothNull(void* p_Handle, void* p_Other, F f_Same) const {
        if (p_Handle == nullptr || p_Other == nullptr) {
            return p_Handle == p_Other;
        }
        return f_Same(p_Handle, p_Other);
    }

    // The listener runs while the closing document is active, and may call back into the host.
    void v_Close(const std::string& s_Path, bool b_Save) {
        co_Workspace.co_Open(s_Path);
        if (b_Save) {
            co_Workspace.v_Save(s_Path);
        }
        co_Workspace.v_Activate(s_Path);
        try {
            if (CT_Listener* pco_Listener = CT_DocumentInterface::spco_GetCloseDocumentListener()) {
                (*pco_Listener)();
            }
        } catch (...) {
            v_Forget(s_Path);
            throw;
        }
        v_Forget(s_Path);
    }

    void v_Forget(const std::string& s_Path) {
        if (co_Workspace.n_Opening(s_Path) == n_BoxListOpening) {
            co_BoxList.v_Generate("", {}, false);
            n_BoxListOpening = 0;
        }
        co_Workspace.v_Discard(s_Path);
    }

    const std::string& s_ActivePath() {
        const std::string* ps_Path = co_Workspace.ps_Active();
        if (ps_Path == nullptr) {
            v_Raise(e_UnknownDocument, "no document is open");
        }
        return *ps_Path;
    }
};

CT_MemoryHost::CT_MemoryHost() : pco_State(std::make_unique<CT_State>()) {}

CT_MemoryHost::~CT_MemoryHost() = default;

// --- What tests set up and inspect -------------------------------------------------------------

void CT_MemoryHost::v_PutDocument(const std::string& s_Path,
                                  const std::vector<CT_MemoryBox>& co_Boxes) {
    pco_State->co_Workspace.v_Put(s_Path, co_Boxes);
}
bool CT_MemoryHost::b_HasDocument(const std::string& s_Path) const {
    return pco_State->co_Workspace.b_HasSaved(s_Path);
}
std::vector<CT_MemoryBox> CT_MemoryHost::co_SavedBoxes(const std::string& s_Path) const {
    return pco_State->co_Workspace.co_Saved(s_Path);
}
void CT_MemoryHost::v_PutStorySetting(const std::string& s_Path, const std::string& s_Key,
                                      const CT_StorySetting& co_Setting) {
    pco_State->co_Settings[{s_Path, s_Key}] = co_Setting;
}

void CT_MemoryHost::v_OpenDocument(const std::string& s_Path) {
    pco_State->co_Workspace.v_Open(s_Path);
}
void CT_MemoryHost::v_Activate(const std::string& s_Path) {
    pco_State->co_Workspace.v_Activate(s_Path);
}
bool CT_MemoryHost::b_IsOpen(const std::string& s_Path) const {
    return pco_State->co_Workspace.b_IsOpen(s_Path);
}
void CT_MemoryHost::v_CloseDocument(const std::string& s_Path, bool b_Save) {
    pco_State->v_Close(s_Path, b_Save);
}
std::vector<CT_MemoryBox>& CT_MemoryHost::co_OpenBoxes(const std::string& s_Path) {
    return pco_State->co_Workspace.co_Open(s_Path).co_Boxes();
}
std::string CT_MemoryHost::s_Content(const std::string& s_Path, const std::string& s_Key) const {
    const CT_MemoryBox* pco_Box = pco_State->co_Workspace.co_Open(s_Path).pco_Find(s_Key);
    if (pco_Box == nullptr) {
        v_Raise(e_UnknownDocument, "document " + s_Path + " has no box with the key " + s_Key);
    }
    return pco_Box->s_Content;
}

void CT_MemoryHost::v_RequestCancel() {
    pco_State->co_Cancel.v_Request();
}
void CT_MemoryHost::v_CancelAfterPolls(unsigned n_Polls) {
    pco_State->co_Cancel.v_RequestAfter(n_Polls);
}
void CT_MemoryHost::v_ClearCancel() {
    pco_State->co_Cancel.v_Clear();
}
unsigned CT_MemoryHost::n_CancelPolls() const {
    return pco_State->co_Cancel.n_Polls();
}

void CT_MemoryHost::v_FailOn(const std::string& s_Operation, unsigned n_Call,
                             et_ErrorCode eo_Code) {
    pco_State->co_Journal.v_FailOn(s_Operation, n_Call, eo_Code);
}
void CT_MemoryHost::v_RefuseOn(const std::string& s_Operation, unsigned n_Call) {
    pco_State->co_Journal.v_RefuseOn(s_Operation, n_Call);
}

const std::vector<std::string>& CT_MemoryHost::co_Journal() const {
    return pco_State->co_Journal.co_Lines();
}
void CT_MemoryHost::v_ClearJournal() {
    pco_State->co_Journal.v_Clear();
}
void CT_MemoryHost::v_SetJournaling(bool b_On) {
    pco_State->co_Journal.v_SetRecording(b_On);
}

const std::vector<std::string>& CT_MemoryHost::co_Progress() const {
    return pco_State->co_Progress.co_Lines();
}
void CT_MemoryHost::v_ClearProgress() {
    pco_State->co_Progress.v_Clear();
}

const std::vector<CT_Listener*>& CT_MemoryHost::co_PushedListeners() const {
    return pco_State->co_Listeners;
}

int CT_MemoryHost::n_LiveBoxHandles() const {
    return static_cast<int>(pco_State->co_Boxes.n_Live());
}
int CT_MemoryHost::n_LiveDocumentHandles() const {
    return static_cast<int>(pco_State->co_Documents.n_Live());
}
int CT_MemoryHost::n_DoubleReleases() const {
    return pco_State->co_Boxes.n_BadReleases() + pco_State->co_Documents.n_BadReleases();
}

// --- Documents ---------------------------------------------------------------------------------

void* CT_MemoryHost::p_GetCurrentDocument() {
    pco_State->v_Enter("p_GetCurrentDocument", {});
    const std::string* ps_Active = pco_State->co_Workspace.ps_Active();
    return ps_Active == nullptr ? nullptr : pco_State->p_NewDocument(*ps_Active);
}

void* CT_MemoryHost::p_IsDocumentOpen(const CT_String& co_Path) {
    pco_State->v_Enter("p_IsDocumentOpen", {s_Path(co_Path)});
    CT_MemoryWorkspace& co_Workspace = pco_State->co_Workspace;
    const std::string s_Found = s_Path(co_Path);
    if (!co_Workspace.b_IsOpen(s_Found)) {
        return nullptr;
    }
    // The kernel lists the active document's boxes: the document it asked for is active for as
    // long as it holds the handle, and the one in front before comes back at the release.
    const std::string s_Front = *co_Workspace.ps_Active();
    co_Workspace.v_Activate(s_Found);
    void* p_Document = pco_State->p_NewDocument(s_Found);
    if (s_Front != s_Found) {
        CT_MemoryHandle* pco_Handle = pco_State->co_Documents.pco_Find(p_Document);
        pco_Handle->s_Restore = s_Front;
        pco_Handle->n_RestoreOpening = co_Workspace.n_Opening(s_Front);
    }
    return p_Document;
}

void* CT_MemoryHost::p_Open(const CT_String& co_Path, int i_Option) {
    pco_State->v_Enter("p_Open", {s_Path(co_Path), s_Number(i_Option)});
    pco_State->co_Workspace.v_Open(s_Path(co_Path));
    return pco_State->p_NewDocument(s_Path(co_Path));
}

CT_String CT_MemoryHost::co_GetDocumentPath(void* p_Document) {
    pco_State->v_Enter("co_GetDocumentPath", {pco_State->s_Describe(p_Document)});
    return CT_String(pco_State->co_Handle(p_Document, false).s_Path);
}

int CT_MemoryHost::b_IsEqual(void* p_Document, void* p_Other) {
    pco_State->v_Enter("b_IsEqual",
                       {pco_State->s_Describe(p_Document), pco_State->s_Describe(p_Other)});
    return pco_State->b_SameOrBothNull(p_Document, p_Other, [this](void* p_One, void* p_Two) {
        return pco_State->co_Handle(p_One, false).s_Path ==
               pco_State->co_Handle(p_Two, false).s_Path;
    });
}

void CT_MemoryHost::v_Release(void*& p_Document) {
    pco_State->v_Enter("v_Release", {pco_State->s_Describe(p_Document)});
    CT_MemoryWorkspace& co_Workspace = pco_State->co_Workspace;
    // Unless the user brought another document to the front meanwhile, or closed the one to
    // come back.
    if (const CT_MemoryHandle* pco_Handle = pco_State->co_Documents.pco_Find(p_Document)) {
        const std::string* ps_Active = co_Workspace.ps_Active();
        if (!pco_Handle->s_Restore.empty() && ps_Active != nullptr &&
            *ps_Active == pco_Handle->s_Path &&
            co_Workspace.n_Opening(pco_Handle->s_Path) == pco_Handle->n_Opening &&
            co_Workspace.n_Opening(pco_Handle->s_Restore) == pco_Handle->n_RestoreOpening) {
            co_Workspace.v_Activate(pco_Handle->s_Restore);
        }
    }
    pco_State->co_Documents.v_Release(p_Document);
}

void CT_MemoryHost::v_Save(void* p_Document) {
    pco_State->v_Enter("v_Save", {pco_State->s_Describe(p_Document)});
    const CT_MemoryHandle& co_Document = pco_State->co_Handle(p_Document, false);
    pco_State->co_LiveDocument(co_Document);
    pco_State->co_Workspace.v_Save(co_Document.s_Path);
}

void CT_MemoryHost::v_Close(void* p_Document, int b_Save) {
    pco_State->v_Enter("v_Close", {pco_State->s_Describe(p_Document), s_Number(b_Save)});
    const CT_MemoryHandle& co_Document = pco_State->co_Handle(p_Document, false);
    pco_State->co_LiveDocument(co_Document);
    const std::string s_Closing = co_Document.s_Path;
    pco_State->v_Close(s_Closing, b_Save != 0);
}

void CT_MemoryHost::v_GotoThePage(int i_Page) {
    pco_State->v_Enter("v_GotoThePage", {s_Number(i_Page)});
}
void CT_MemoryHost::v_GotoPasteBoard() {
    pco_State->v_Enter("v_GotoPasteBoard", {});
}
void CT_MemoryHost::v_GotoMasterPage() {
    pco_State->v_Enter("v_GotoMasterPage", {});
}

CT_StorySetting CT_MemoryHost::co_GetStorySetting(const CT_String& co_Key) {
    pco_State->v_Enter("co_GetStorySetting", {s_Path(co_Key)});
    const CT_MemoryDocument& co_Document =
        pco_State->co_Workspace.co_Open(pco_State->s_ActivePath());
    const CT_MemoryBox* pco_Box = co_Document.pco_Find(s_Path(co_Key));
    if (pco_Box == nullptr) {
        return {};
    }
    const auto co_found = pco_State->co_Settings.find({pco_State->s_ActivePath(), pco_Box->s_Key});
    CT_StorySetting co_setting =
        co_found == pco_State->co_Settings.end() ? CT_StorySetting() : co_found->second;
    if (co_setting.co_Frames.empty()) {
        CT_FrameSetting co_frame;
        co_frame.s_Id = pco_Box->s_Key;
        co_frame.b_OnMasterPage = pco_Box->b_OnMasterPage;
        co_frame.b_OnPasteBoard = pco_Box->b_OnPasteBoard;
        co_frame.s_Page = pco_Box->b_OnPasteBoard   ? std::string()
                          : pco_Box->b_OnMasterPage ? pco_Box->s_SpreadName
                                                    : s_Number(pco_Box->n_Page);
        co_frame.b_Prints = !pco_Box->b_OnPasteBoard;
        co_frame.s_NotPrinted = co_frame.b_Prints ? "" : "on the pasteboard";
        co_setting.co_Frames.push_back(co_frame);
    }
    return co_setting;
}

// --- The box list ------------------------------------------------------------------------------

void CT_MemoryHost::v_GenerateBoxList(int b_IgnorePasteBoard) {
    pco_State->v_Enter("v_GenerateBoxList", {s_Number(b_IgnorePasteBoard)});
    const std::string s_Active = pco_State->s_ActivePath();
    const CT_MemoryDocument& co_Document = pco_State->co_Workspace.co_Open(s_Active);
    pco_State->co_BoxList.v_Generate(s_Active, co_Document.co_Boxes(), b_IgnorePasteBoard != 0);
    pco_State->n_BoxListOpening = pco_State->co_Workspace.n_Opening(s_Active);
}

int CT_MemoryHost::b_IsBoxListEmpty() {
    pco_State->v_Enter("b_IsBoxListEmpty", {});
    return pco_State->co_BoxList.b_IsEmpty();
}

void CT_MemoryHost::v_ResetBoxList() {
    pco_State->v_Enter("v_ResetBoxList", {});
    pco_State->co_BoxList.v_Reset();
}

void* CT_MemoryHost::p_GetCurrentBox() {
    pco_State->v_Enter("p_GetCurrentBox", {});
    const CT_MemoryBoxList& co_List = pco_State->co_BoxList;
    if (!co_List.b_HasCurrent()) {
        v_Raise(e_HostFailure, "the box list has no current box");
    }
    return pco_State->p_NewBox(co_List.s_CurrentKey());
}

int CT_MemoryHost::b_NextTextBox() {
    pco_State->v_Enter("b_NextTextBox", {});
    return pco_State->co_BoxList.b_Next();
}

void CT_MemoryHost::v_PrepareForExport() {
    pco_State->v_Enter("v_PrepareForExport", {});
    pco_State->n_StoryCounter = 0;
}
void CT_MemoryHost::v_CloseExport() {
    pco_State->v_Enter("v_CloseExport", {});
}
void CT_MemoryHost::v_PrepareForImport() {
    pco_State->v_Enter("v_PrepareForImport", {});
    pco_State->n_StoryCounter = 0;
}
void CT_MemoryHost::v_CloseImport() {
    pco_State->v_Enter("v_CloseImport", {});
}

// --- Boxes -------------------------------------------------------------------------------------

int CT_MemoryHost::b_GetContent(CT_String& co_Text, void* p_Box, unsigned n_Limit, int b_Preview,
                                int i_Reserved) {
    pco_State->v_Enter("b_GetContent", {pco_State->s_Describe(p_Box), s_Number(n_Limit),
                                        s_Number(b_Preview), s_Number(i_Reserved)});
    bool b_More = false;
    std::string s_Text =
        CT_MemoryText::s_Narrow(pco_State->co_LiveBox(p_Box).s_Content, n_Limit, b_More);
    if (b_Preview != 0) {
        CT_MemoryText::v_Flatten(s_Text);
    }
    co_Text = CT_String(s_Text);
    return b_More;
}

int CT_MemoryHost::b_GetContent(char16_t* puz_Text, void* p_Box, unsigned n_Limit, int b_Preview,
                                int i_Reserved) {
    pco_State->v_Enter("b_GetContent", {pco_State->s_Describe(p_Box), s_Number(n_Limit),
                                        s_Number(b_Preview), s_Number(i_Reserved), "u16"});
    if (puz_Text == nullptr) {
        v_Raise(e_HostFailure, "b_GetContent was given no buffer");
    }
    bool b_More = false;
    std::u16string co_Text =
        CT_MemoryText::s_Wide(pco_State->co_LiveBox(p_Box).s_Content, n_Limit, b_More);
    if (b_Preview != 0) {
        CT_MemoryText::v_Flatten(co_Text);
    }
    co_Text.copy(puz_Text, co_Text.size());
    puz_Text[co_Text.size()] = u'\0';
    return b_More;
}

CT_String CT_MemoryHost::co_GetKey(void* p_Box) {
    pco_State->v_Enter("co_GetKey", {pco_State->s_Describe(p_Box)});
    return CT_String(pco_State->co_Handle(p_Box, true).s_Key);
}

unsigned CT_MemoryHost::n_GetPage(void* p_Box) {
    pco_State->v_Enter("n_GetPage", {pco_State->s_Describe(p_Box)});
    return pco_State->co_LiveBox(p_Box).n_Page;
}

int CT_MemoryHost::b_IsOnMasterPage(void* p_Box) {
    pco_State->v_Enter("b_IsOnMasterPage", {pco_State->s_Describe(p_Box)});
    return pco_State->co_LiveBox(p_Box).b_OnMasterPage;
}

int CT_MemoryHost::b_IsOnPasteBoard(void* p_Box) {
    pco_State->v_Enter("b_IsOnPasteBoard", {pco_State->s_Describe(p_Box)});
    return pco_State->co_LiveBox(p_Box).b_OnPasteBoard;
}

CT_String CT_MemoryHost::co_GetSpreadName(void* p_Box) {
    pco_State->v_Enter("co_GetSpreadName", {pco_State->s_Describe(p_Box)});
    return CT_String(pco_State->co_LiveBox(p_Box).s_SpreadName);
}

void CT_MemoryHost::v_GetPosition(void* p_Box, tagPOINT& co_Position) {
    pco_State->v_Enter("v_GetPosition", {pco_State->s_Describe(p_Box)});
    const CT_MemoryBox& co_Box = pco_State->co_LiveBox(p_Box);
    co_Position.x = co_Box.i_X;
    co_Position.y = co_Box.i_Y;
}

int CT_MemoryHost::b_IsEqualBox(void* p_Box, void* p_Other) {
    pco_State->v_Enter("b_IsEqualBox",
                       {pco_State->s_Describe(p_Box), pco_State->s_Describe(p_Other)});
    return pco_State->b_SameOrBothNull(p_Box, p_Other, [this](void* p_One, void* p_Two) {
        return pco_State->co_Handle(p_One, true).n_Box == pco_State->co_Handle(p_Two, true).n_Box;
    });
}

void CT_MemoryHost::v_DisplayBox(void* p_Box) {
    pco_State->v_Enter("v_DisplayBox", {pco_State->s_Describe(p_Box)});
    pco_State->co_LiveBox(p_Box);
}

void CT_MemoryHost::v_ReleaseBox(void*& p_Box) {
    pco_State->v_Enter("v_ReleaseBox", {pco_State->s_Describe(p_Box)});
    pco_State->co_Boxes.v_Release(p_Box);
}

int CT_MemoryHost::b_Export(void* p_Box, CT_Files& co_File) {
    pco_State->v_Enter("b_Export", {pco_State->s_Describe(p_Box)});
    const CT_MemoryBox& co_Box = pco_State->co_LiveBox(p_Box);
    if (pco_State->co_Journal.b_IsRefused("b_Export")) {
        return 1;
    }
    co_File.v_Write(co_Box.s_Content.data(), co_Box.s_Content.size());
    ++pco_State->n_StoryCounter;
    return 0;
}

int CT_MemoryHost::b_Import(void* p_Box, CT_Files& co_File, unsigned n_Count) {
    pco_State->v_Enter("b_Import", {pco_State->s_Describe(p_Box), s_Number(n_Count)});
    CT_MemoryBox& co_Box = pco_State->co_LiveBox(p_Box);
    if (pco_State->co_Journal.b_IsRefused("b_Import")) {
        return 1;
    }
    std::string s_Bytes;
    co_File.v_Read(s_Bytes, n_Count);
    if (!CT_Utf8::sb_IsValid(s_Bytes)) {
        v_Raise(e_BadContent, "the story for box " + co_Box.s_Key + " is not UTF-8 text");
    }
    co_Box.s_Content = std::move(s_Bytes);
    ++pco_State->n_StoryCounter;
    return 0;
}

unsigned CT_MemoryHost::n_GetStoryCounter() {
    pco_State->v_Enter("n_GetStoryCounter", {});
    return pco_State->n_StoryCounter;
}

// --- Tagged files ------------------------------------------------------------------------------

CT_String CT_MemoryHost::co_GetOpenVersionTag() {
    pco_State->v_Enter("co_GetOpenVersionTag", {});
    return CT_String(spc_OpenTag);
}
CT_String CT_MemoryHost::co_GetCloseVersionTag() {
    pco_State->v_Enter("co_GetCloseVersionTag", {});
    return CT_String(spc_CloseTag);
}
CT_String CT_MemoryHost::co_GetTaggedExtension() {
    pco_State->v_Enter("co_GetTaggedExtension", {});
    return CT_String(spc_Extension);
}
const CT_String& CT_MemoryHost::cco_GetDtpTaggedFilter() {
    pco_State->v_Enter("cco_GetDtpTaggedFilter", {});
    return pco_State->co_Filter;
}

// --- Progress, cancel and listeners ------------------------------------------------------------

CT_ProgressListener* CT_MemoryHost::pco_GetProgressListener() {
    pco_State->v_Enter("pco_GetProgressListener", {});
    return &pco_State->co_Progress;
}
CT_ParentProgressListener* CT_MemoryHost::pco_GetParentProgressListener() {
    pco_State->v_Enter("pco_GetParentProgressListener", {});
    return &pco_State->co_Progress;
}

int CT_MemoryHost::b_IsCancel() {
    pco_State->v_Enter("b_IsCancel", {});
    return pco_State->co_Cancel.b_Poll();
}

void CT_MemoryHost::v_PushListener(CT_Listener* pco_Listener) {
    pco_State->v_Enter("v_PushListener", {});
    pco_State->co_Listeners.push_back(pco_Listener);
}

void CT_MemoryHost::v_PopListener() {
    pco_State->v_Enter("v_PopListener", {});
    if (!pco_State->co_Listeners.empty()) {
        pco_State->co_Listeners.pop_back();
    }
}

void CT_MemoryHost::v_StartCounting(int b_Reset) {
    pco_State->v_Enter("v_StartCounting", {s_Number(b_Reset)});
    if (b_Reset != 0) {
        pco_State->n_StoryCounter = 0;
    }
}
