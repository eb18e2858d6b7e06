// A complete host application in memory, for the kernel's tests. Documents are kept as "saved
// files" by path; opening one makes a live copy that the kernel reads and changes, saving copies
// it back. The host journals every call, counts the handles it gives out (each must be released
// exactly once), records progress, and can be told to cancel or to fail a chosen operation.
// The test owns the host and installs it with CT_Host::sv_Install.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/common/ct_error_code.h"
#include "platform/host/ct_host_backend.h"
#include "platform/host/ct_parent_progress_listener.h"
#include "platform/host/ct_progress_listener.h"
#include "platform/host/memory/ct_memory_box.h"

class CT_MemoryHost : public CT_HostBackend {
  public:
    CT_MemoryHost();
    ~CT_MemoryHost() override;
    CT_MemoryHost(const CT_MemoryHost&) = delete;
    CT_MemoryHost& operator=(const CT_MemoryHost&) = delete;

    // --- What tests set up and inspect ---------------------------------------------------------

    // Puts a saved document at the path, replacing any saved one there.
    void v_PutDocument(const std::string& s_Path, const std::vector<CT_MemoryBox>& co_Boxes);
    bool b_HasDocument(const std::string& s_Path) const;
    // What co_GetStorySetting answers for the story of the document at the path. A story
    // without a setting is one frame where its box stands, with no geometry, named by its page
    // number or master spread, printing unless it is on the pasteboard.
    void v_PutStorySetting(const std::string& s_Path, const std::string& s_Key,
                           const CT_StorySetting& co_Setting);
    // The saved state of the document at the path.
    std::vector<CT_MemoryBox> co_SavedBoxes(const std::string& s_Path) const;
    // Opens the saved document as the user would (no handle is given out) and makes it active.
    void v_OpenDocument(const std::string& s_Path);
    // Makes an open document the active one.
    void v_Activate(const std::string& s_Path);
    bool b_IsOpen(const std::string& s_Path) const;
    // Closes an open document as the user would, saving it or not; the close listener is called
    // while it is the active document.
    void v_CloseDocument(const std::string& s_Path, bool b_Save);
    // The live state of an open document, in the host's order; tests may change it.
    std::vector<CT_MemoryBox>& co_OpenBoxes(const std::string& s_Path);
    // The live content of the box with the key in the open document.
    std::string s_Content(const std::string& s_Path, const std::string& s_Key) const;

    // Cancel: now, or once the n-th poll of the cancel flag from now has answered (polls 1..n
    // answer 0, later ones 1). Once answered, a cancel stays until v_ClearCancel, which
    // withdraws both kinds of request and restarts the count of polls.
    void v_RequestCancel();
    void v_CancelAfterPolls(unsigned n_Polls);
    void v_ClearCancel();
    // Polls of the cancel flag since the host was made or last cleared.
    unsigned n_CancelPolls() const;

    // Makes the k-th call (from now, counting from 1) of the named operation raise eo_Code with
    // a text naming the operation. Operation names are those of CT_HostBackend ("b_Export",
    // "p_Open", "v_Save", ...); "*" counts the calls of every operation, so that a sweep can
    // fail each call of a run in turn.
    void v_FailOn(const std::string& s_Operation, unsigned n_Call,
                  et_ErrorCode eo_Code = e_HostFailure);
    // Makes the k-th call (from now) of "b_Export" or "b_Import" do nothing and return 1, as a
    // host does that cannot write or take a story; the story counter does not move.
    void v_RefuseOn(const std::string& s_Operation, unsigned n_Call);

    // Every backend call, one line each: the operation name, then its arguments separated by
    // single spaces. A document handle reads as its path, a box handle as its key, a null
    // handle as "null"; the 16-bit b_GetContent ends with "u16". Examples: "p_Open /d/a.indd 1",
    // "b_GetContent A 20 1 0", "v_Close /d/a.indd 0", "b_Import A 12".
    const std::vector<std::string>& co_Journal() const;
    void v_ClearJournal();
    // Long runs (benchmarks) switch the journal off so that it does not grow with every call;
    // planned faults still count calls. On by default.
    void v_SetJournaling(bool b_On);

    // Progress as shown: "start <caption> <steps>", "step", "files <count>", "next file".
    const std::vector<std::string>& co_Progress() const;
    void v_ClearProgress();

    // Listeners pushed and not yet popped, the latest last.
    const std::vector<CT_Listener*>& co_PushedListeners() const;

    // Handles given out and not yet released, and releases of handles already released.
    int n_LiveBoxHandles() const;
    int n_LiveDocumentHandles() const;
    int n_DoubleReleases() const;

    // The texts of tagged files.
    static const char* const spc_OpenTag;    // "<MEMORY-TAGGED-TEXT 1.0>"
    static const char* const spc_CloseTag;   // "</MEMORY-TAGGED-TEXT>"
    static const char* const spc_Extension;  // ".mtt"
    static const char* const spc_Filter;     // "Memory Tagged Text (*.mtt)|*.mtt||"

    // --- The host interface --------------------------------------------------------------------
    // The contract of CT_HostBackend. Beyond it: a document is its path, and an opening of it
    // lasts until it is closed; b_Import raises e_BadContent for bytes that are not UTF-8; the
    // story counter also restarts at v_StartCounting(nonzero); the host never calls a pushed
    // listener itself.
    void* p_GetCurrentDocument() override;
    void* p_IsDocumentOpen(const CT_String& co_Path) override;
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
    struct CT_State;
    std::unique_ptr<CT_State> pco_State;
};
