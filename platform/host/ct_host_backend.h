// What a host application provides: the operations behind the static host interface. A backend
// is installed with CT_Host::sv_Install and owned by whoever installed it. Errors are raised
// through CT_Errors, never as other exceptions.
#pragma once

#include "platform/common/ct_files.h"
#include "platform/common/ct_point.h"
#include "platform/common/ct_string.h"

class CT_Listener;
class CT_ProgressListener;
class CT_ParentProgressListener;

class CT_HostBackend {
  public:
    virtual ~CT_HostBackend() = default;

    // Documents.
    virtual void* p_GetCurrentDocument() = 0;
    virtual void* p_IsDocumentOpen(const CT_String& co_Path) = 0;
    virtual void* p_Open(const CT_String& co_Path, int i_Option) = 0;
    virtual CT_String co_GetDocumentPath(void* p_Document) = 0;
    virtual int b_IsEqual(void* p_Document, void* p_Other) = 0;
    virtual void v_Release(void*& p_Document) = 0;
    virtual void v_Save(void* p_Document) = 0;
    virtual void v_Close(void* p_Document, int b_Save) = 0;
    virtual void v_GotoThePage(int i_Page) = 0;
    virtual void v_GotoPasteBoard() = 0;
    virtual void v_GotoMasterPage() = 0;

    // The box list of the active document.
    virtual void v_GenerateBoxList(int b_IgnorePasteBoard) = 0;
    virtual int b_IsBoxListEmpty() = 0;
    virtual void v_ResetBoxList() = 0;
    virtual void* p_GetCurrentBox() = 0;
    virtual int b_NextTextBox() = 0;

    virtual void v_PrepareForExport() = 0;
    virtual void v_CloseExport() = 0;
    virtual void v_PrepareForImport() = 0;
    virtual void v_CloseImport() = 0;

    // Boxes.
    virtual int b_GetContent(CT_String& co_Text, void* p_Box, unsigned n_Limit, int b_Preview,
                             int i_Reserved) = 0;
    virtual int b_GetContent(char16_t* puz_Text, void* p_Box, unsigned n_Limit, int b_Preview,
                             int i_Reserved) = 0;
    virtual CT_String co_GetKey(void* p_Box) = 0;
    virtual unsigned n_GetPage(void* p_Box) = 0;
    virtual int b_IsOnMasterPage(void* p_Box) = 0;
    virtual int b_IsOnPasteBoard(void* p_Box) = 0;
    virtual CT_String co_GetSpreadName(void* p_Box) = 0;
    virtual void v_GetPosition(void* p_Box, tagPOINT& co_Position) = 0;
    virtual int b_IsEqualBox(void* p_Box, void* p_Other) = 0;
    virtual void v_DisplayBox(void* p_Box) = 0;
    virtual void v_ReleaseBox(void*& p_Box) = 0;
    virtual int b_Export(void* p_Box, CT_Files& co_File) = 0;
    virtual int b_Import(void* p_Box, CT_Files& co_File, unsigned n_Count) = 0;
    virtual unsigned n_GetStoryCounter() = 0;

    // Tagged files.
    virtual CT_String co_GetOpenVersionTag() = 0;
    virtual CT_String co_GetCloseVersionTag() = 0;
    virtual CT_String co_GetTaggedExtension() = 0;
    virtual const CT_String& cco_GetDtpTaggedFilter() = 0;

    // Progress, cancel and listeners.
    virtual CT_ProgressListener* pco_GetProgressListener() = 0;
    virtual CT_ParentProgressListener* pco_GetParentProgressListener() = 0;
    virtual int b_IsCancel() = 0;
    virtual void v_PushListener(CT_Listener* pco_Listener) = 0;
    virtual void v_PopListener() = 0;
    virtual void v_StartCounting(int b_Reset) = 0;
};
