// One text box of the host document: its host handle and, taken once from the host when it is
// set up, a short preview of its text (narrow and 16-bit), its virtual page, key and position.
// It writes and reads its own story in a tagged story file and carries its story-list labels.
//
// Ownership: the box owns its host handle and releases it when destroyed, and owns its two
// 16-bit buffers. Boxes are never copied: a copy would release the handle twice.
//
// Virtual page: document page N is N, a master page with host page number p is -(p + 1), the
// pasteboard is 0 (also for a pasteboard box the host places on a master page).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/common/ct_files.h"
#include "platform/common/ct_point.h"
#include "platform/common/ct_string.h"

class CT_TextBox {
  public:
    static constexpr unsigned sn_PreviewLimit = 20;  // characters of a preview
    static constexpr unsigned sn_TextLimit = 10000;  // characters of a full text
    static constexpr std::size_t sn_UContentCapacity = 30;
    static constexpr std::size_t sn_UListLabelCapacity = 35;
    // Units a caller's buffer for the full 16-bit text must hold: the text, the mark "..." and
    // the terminator.
    static constexpr std::size_t sn_UTextCapacity = sn_TextLimit + 4;

    // Empty strings, null handle, no 16-bit buffers; asks nothing of the host.
    CT_TextBox();
    // Takes the handle and caches everything at once. When the host fails while caching, the
    // handle is released and the error passes on.
    explicit CT_TextBox(void* p_HostBox);
    // Releases the handle (a null handle is not given to the host). Host errors are dropped: a
    // destructor cannot report them.
    ~CT_TextBox();
    CT_TextBox(const CT_TextBox&) = delete;
    CT_TextBox& operator=(const CT_TextBox&) = delete;

    // Stores the handle and, with b_Cached non-zero, takes the preview, 16-bit preview, virtual
    // page, key and position again; earlier 16-bit buffers are freed. A different handle held
    // before is released first, since the box owns whichever handle it holds.
    void v_Set(void* p_HostBox, int b_Cached);

    int i_GetVirtualPage() const { return i_VirtualPage; }
    int b_IsOnMasterPage() const { return i_VirtualPage < 0; }
    int b_IsOnPasteBoard() const { return i_VirtualPage == 0; }
    int b_IsOnPage() const { return i_VirtualPage > 0; }
    // -1 on a master page, 0 on the pasteboard, else the document page number.
    int i_GetPage() const;
    const CT_String& cco_GetKey() const { return co_Key; }
    // Where the box stood when it was cached, in the host's coordinates.
    const tagPOINT& cco_GetPosition() const { return co_Position; }
    int b_IsThisBox(const CT_String& co_BoxKey) const { return co_Key == co_BoxKey; }
    // The host's answer to whether both handles designate the same box.
    int operator==(const CT_TextBox& co_Other) const;
    // Whether the host's current box list holds this box. Moves the host list's cursor.
    int b_Exist() const;
    // The host shows the box to the user.
    void v_Display() const;

    // With b_Cached the preview; otherwise the text asked again from the host, up to
    // sn_TextLimit characters, with "..." when it goes on.
    void v_GetText(CT_String& co_Text, int b_Cached) const;
    // The same, and without b_Cached also the 16-bit text into puz_Text, which must hold
    // sn_UTextCapacity units. With b_Cached puz_Text is not touched.
    void v_GetText(CT_String& co_Text, char16_t* puz_Text, int b_Cached) const;

    // Non-zero when this box sorts after the other: by virtual page, then top to bottom and
    // left to right (top-down) or left to right and top to bottom (left-right). Coordinates
    // compare exactly, without tolerance.
    int b_CompareTopDown(CT_TextBox* pco_Other);
    int b_CompareLeftRight(CT_TextBox* pco_Other);

    // --- Story tags (the file is owned by the export or import that installs it) -----------
    // Makes the file the one all boxes write to and read from.
    static void v_SetFile(CT_Files& co_File);
    // Makes the file the current one for the life of this object, then none, so that the boxes
    // never keep a pointer to a file that is gone. Export, import and key readers hold one.
    class CT_FileInUse {
      public:
        explicit CT_FileInUse(CT_Files& co_File) { v_SetFile(co_File); }
        ~CT_FileInUse() { spco_File = nullptr; }
        CT_FileInUse(const CT_FileInUse&) = delete;
        CT_FileInUse& operator=(const CT_FileInUse&) = delete;
    };
    // Writes start tag, story (unless cancelled) and end tag; non-zero when the next box may
    // follow, 0 after a cancel or a host failure.
    int b_Export();
    // Hands the story up to the next end tag to the host; non-zero when cancelled or the host
    // failed. REQUIRES: the file stands just after this box's start tag.
    int b_Import();
    // Moves to the next story, stores its key and leaves the file on its content. 0 when no
    // further story starts; other file errors pass on.
    static int b_GetNextBoxKey(CT_String& co_BoxKey);

    // --- Story-list labels -----------------------------------------------------------------
    // "Story <n + 1>: " followed by the preview.
    void v_SetListLabel(unsigned n_Index);
    const CT_String& cco_GetListLabel() const { return co_ListLabel; }
    // The same in 16 bits, cut at sn_UListLabelCapacity - 1 units (story numbers of four digits
    // and more with a full preview). Does nothing on a box never set up with caching.
    void v_SetUListLabel(unsigned n_Index);
    // The 16-bit label; an empty string (never null) on a box never set up with caching, so
    // that a list can show every box alike.
    const char16_t* qcuz_GetUListLabel() const;

  private:
    void v_CacheContent();
    void v_CacheUContent();
    void v_CacheVirtualPage();
    void v_CacheKey();
    void v_CachePosition();
    static void v_AddContinue(CT_String& co_Text);
    static void v_AddContinue(char16_t* puz_Text, std::size_t n_Capacity);
    static int b_IsEqual(std::int32_t i_Value, std::int32_t i_Other) { return i_Value == i_Other; }
    void v_ReleaseBox() noexcept;

    void v_WriteStartTag();
    void v_WriteEndTag();
    CT_String v_GetLocationName();

    void* p_Box = nullptr;
    CT_String co_ListLabel;
    std::unique_ptr<char16_t[]> puz_UListLabel;  // sn_UListLabelCapacity units once cached
    std::int32_t i_VirtualPage = 0;
    CT_String co_Key;
    tagPOINT co_Position{0, 0};
    CT_String co_Content;
    std::unique_ptr<char16_t[]> puz_UContent;  // sn_UContentCapacity units once cached

    static CT_Files* spco_File;  // not owned; null outside an export, import or key read
};
