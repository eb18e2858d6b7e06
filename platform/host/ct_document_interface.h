// The host's documents and its list of text boxes, seen from the kernel. All operations forward
// to the installed backend (CT_Host). Document handles are opaque; whoever receives one from
// p_GetCurrentDocument, p_IsDocumentOpen or p_Open gives it back with v_Release. Box handles
// from p_GetCurrentBox are owned by the text box made of them.
#pragma once

#include "platform/common/ct_string.h"
#include "platform/host/ct_story_setting.h"

class CT_Listener;

class CT_DocumentInterface {
  public:
    static void* p_GetCurrentDocument();
    // The handle of the document at the path when the host has it open, else null.
    static void* p_IsDocumentOpen(const CT_String& co_Path);
    // Opens the document at the path and makes it the active one.
    static void* p_Open(const CT_String& co_Path, int i_Option);
    static CT_String co_GetDocumentPath(void* p_Document);
    static int b_IsEqual(void* p_Document, void* p_Other);
    // Gives the handle back; it is null afterwards.
    static void v_Release(void*& p_Document);
    static void v_Save(void* p_Document);
    // Closes the document, saving it first when b_Save is nonzero. The close listener is called
    // while the closing document is the active one.
    static void v_Close(void* p_Document, int b_Save);

    static void v_GotoThePage(int i_Page);
    static void v_GotoPasteBoard();
    static void v_GotoMasterPage();

    // Kept by the host interface itself, so it survives a change of backend.
    static void sv_SetCloseDocumentListener(CT_Listener* pco_Listener);
    static CT_Listener* spco_GetCloseDocumentListener();

    // The box list of the active document: one entry per story shown in a frame.
    static void v_GenerateBoxList(int b_IgnorePasteBoard);
    static int b_IsBoxListEmpty();
    static void v_ResetBoxList();
    static void* p_GetCurrentBox();
    static int b_NextTextBox();

    static void v_PrepareForExport();
    static void v_CloseExport();
    static void v_PrepareForImport();
    static void v_CloseImport();

    // Where and in what type the active document sets the story with this key.
    static CT_StorySetting sco_GetStorySetting(const CT_String& co_Key);
};
