// What a host application provides: the operations behind the static host interface, and the
// contract every backend keeps. A backend is installed with CT_Host::sv_Install and owned by
// whoever installed it; destroying an installed backend uninstalls it.
//
// Errors are raised through CT_Errors (an et_ErrorCode exception), never as other exceptions:
//   e_UnknownDocument (204)  a handle that is not a live handle of this backend and kind (null
//                            where a handle is needed, released, foreign, a box handle given as
//                            a document handle or the reverse), a path that names no open
//                            document, or a live handle whose document has closed where the
//                            operation needs the open document;
//   e_HostFailure (201)      an operation that cannot be done now (no current box, no buffer);
//   e_BadDocument (202)      a document file that does not exist or cannot be read;
//   e_BadContent (203)       story content refused by b_Import; the box keeps its content;
//   file codes (100-105)     the tagged file or the document file failed to read or write.
// A failed operation gives out no handle and changes nothing it did not say it changes.
//
// Handles. Every handle returned is a new one that the caller owns and gives back exactly once
// (v_Release, v_ReleaseBox); two handles to one document or box are different values that the
// b_IsEqual operations find equal. Handle values are never reused, so a released handle never
// names anything again. Releasing null does nothing; releasing a handle that is not live is
// counted by the backend and otherwise ignored, since releases run in destructors. A handle
// keeps naming its document (or box) after the document closes: its path, key and equality stay
// available, and everything else raises e_UnknownDocument.
#pragma once

#include "platform/common/ct_files.h"
#include "platform/common/ct_point.h"
#include "platform/common/ct_string.h"
#include "platform/host/ct_story_setting.h"

class CT_Listener;
class CT_ProgressListener;
class CT_ParentProgressListener;

class CT_HostBackend {
  public:
    virtual ~CT_HostBackend();

    // --- Documents -----------------------------------------------------------------------------

    // A new handle of the active document (the one opened or activated last), or null when
    // none is open.
    virtual void* p_GetCurrentDocument() = 0;
    // A new handle of the open document at the path, or null when it is not open. Different
    // spellings of one file name one document. The document becomes the active one, since the
    // box list is the active document's, and releasing this handle makes the document that was
    // active before active again, unless the active document or that one changed meanwhile.
    virtual void* p_IsDocumentOpen(const CT_String& co_Path) = 0;
    // Opens the document at the path unless it is open already, makes it active and returns a
    // new handle of it. A missing or unreadable file raises e_BadDocument (or a file code).
    virtual void* p_Open(const CT_String& co_Path, int i_Option) = 0;
    // The document's path; answers for a live handle of a closed document too.
    virtual CT_String co_GetDocumentPath(void* p_Document) = 0;
    // Nonzero when both handles name one document. Null equals null and nothing else; any other
    // handle that is not live raises e_UnknownDocument.
    virtual int b_IsEqual(void* p_Document, void* p_Other) = 0;
    // Gives the handle back and nulls it; see Handles above.
    virtual void v_Release(void*& p_Document) = 0;
    // Writes the open document's changes to its file. On failure the file is as it was before.
    virtual void v_Save(void* p_Document) = 0;
    // Closes the open document: with b_Save nonzero it is saved first, and a failed save raises
    // and leaves it open. Then the close listener (CT_DocumentInterface) is called while the
    // closing document is the active one; the document is closed whether or not the listener
    // raises, and the listener's error is raised afterwards. The most recently active other
    // document becomes active. Handles of the document stay live until released.
    virtual void v_Close(void* p_Document, int b_Save) = 0;
    // Showing a place of the active document; a backend without a screen does nothing.
    virtual void v_GotoThePage(int i_Page) = 0;
    virtual void v_GotoPasteBoard() = 0;
    virtual void v_GotoMasterPage() = 0;

    // --- The box list of the active document ---------------------------------------------------
    // One list with one cursor. It is a snapshot: later changes of the document do not change
    // it, and it holds no handle.

    // Lists the text boxes of the active document, leaving out pasteboard boxes when asked to,
    // and puts the cursor on the first. No open document raises e_UnknownDocument.
    virtual void v_GenerateBoxList(int b_IgnorePasteBoard) = 0;
    // Nonzero when the list holds no box (also before the first v_GenerateBoxList).
    virtual int b_IsBoxListEmpty() = 0;
    virtual void v_ResetBoxList() = 0;
    // A new handle of the box under the cursor. With no box under the cursor (an empty list,
    // or the cursor moved past the last box) it raises e_HostFailure.
    virtual void* p_GetCurrentBox() = 0;
    // Moves the cursor on; 0 when it has moved past the last box, where it stays.
    virtual int b_NextTextBox() = 0;

    // Brackets around an export or an import; the two Prepare calls restart the story counter.
    virtual void v_PrepareForExport() = 0;
    virtual void v_CloseExport() = 0;
    virtual void v_PrepareForImport() = 0;
    virtual void v_CloseImport() = 0;

    // How the active document sets the story with this key: its frames in thread order, each
    // with the printed name of its page and whether it prints, and its text's type sizes. A key
    // the document has no story of gives a setting without frames. No open document raises
    // e_UnknownDocument. Whatever the host cannot tell keeps the defaults of CT_StorySetting.
    virtual CT_StorySetting co_GetStorySetting(const CT_String& co_Key) = 0;

    // --- Boxes ---------------------------------------------------------------------------------
    // Every operation here takes a live box handle of an open document, except co_GetKey and
    // b_IsEqualBox, which answer after the document closed. Anything else raises
    // e_UnknownDocument.

    // The box's plain text, at most n_Limit code points; with b_Preview nonzero line and
    // paragraph breaks and tabs read as spaces. Returns nonzero when the text goes on.
    virtual int b_GetContent(CT_String& co_Text, void* p_Box, unsigned n_Limit, int b_Preview,
                             int i_Reserved) = 0;
    // The same into a 16-bit buffer of n_Limit + 1 units: at most n_Limit units and a closing
    // zero, never half of a surrogate pair. A null buffer raises e_HostFailure.
    virtual int b_GetContent(char16_t* puz_Text, void* p_Box, unsigned n_Limit, int b_Preview,
                             int i_Reserved) = 0;
    // The box's key: unique in its document, the same at export and import.
    virtual CT_String co_GetKey(void* p_Box) = 0;
    // The document page from 1, or the page's index in its master spread for a master box.
    virtual unsigned n_GetPage(void* p_Box) = 0;
    virtual int b_IsOnMasterPage(void* p_Box) = 0;
    virtual int b_IsOnPasteBoard(void* p_Box) = 0;
    // The master spread's name for a box on a master page, else empty.
    virtual CT_String co_GetSpreadName(void* p_Box) = 0;
    virtual void v_GetPosition(void* p_Box, tagPOINT& co_Position) = 0;
    // Nonzero when both handles name one box of one document. Null equals null and nothing
    // else. The cost is two handle look-ups and an integer comparison: the story order compares
    // every box with every other.
    virtual int b_IsEqualBox(void* p_Box, void* p_Other) = 0;
    virtual void v_DisplayBox(void* p_Box) = 0;
    // Gives the handle back and nulls it; see Handles above.
    virtual void v_ReleaseBox(void*& p_Box) = 0;
    // Writes the story's content at the file's position; 0 when written (the story counter
    // moves on), nonzero when the host wrote nothing. File errors pass through.
    virtual int b_Export(void* p_Box, CT_Files& co_File) = 0;
    // Reads exactly n_Count bytes from the file as the story's new content and returns 0 (the
    // story counter moves on). Content the host refuses raises e_BadContent and leaves the box
    // as it was; the bytes are read either way.
    virtual int b_Import(void* p_Box, CT_Files& co_File, unsigned n_Count) = 0;
    // Stories exported or imported since the counter was last restarted.
    virtual unsigned n_GetStoryCounter() = 0;

    // --- Tagged files --------------------------------------------------------------------------
    // Fixed texts of the backend; they never fail.
    virtual CT_String co_GetOpenVersionTag() = 0;
    virtual CT_String co_GetCloseVersionTag() = 0;
    // The tagged-file extension, with its dot.
    virtual CT_String co_GetTaggedExtension() = 0;
    // A file-dialog filter; the backend keeps the string alive.
    virtual const CT_String& cco_GetDtpTaggedFilter() = 0;

    // --- Progress, cancel and listeners --------------------------------------------------------

    // The progress displays; never null, owned by the backend or by whoever plugged them in.
    virtual CT_ProgressListener* pco_GetProgressListener() = 0;
    virtual CT_ParentProgressListener* pco_GetParentProgressListener() = 0;
    // Nonzero once the user has cancelled.
    virtual int b_IsCancel() = 0;
    // Makes the listener the current one; it stays the caller's. The backend may or may not
    // call a current listener itself.
    virtual void v_PushListener(CT_Listener* pco_Listener) = 0;
    // Ends the latest push; with nothing pushed it does nothing, so that clean-up after a
    // failed push is safe.
    virtual void v_PopListener() = 0;
    // Starts counting stories for one batch document; nonzero restarts the story counter.
    virtual void v_StartCounting(int b_Reset) = 0;
};
