#include "platform/host/ct_document_interface.h"

#include "platform/host/ct_host.h"

namespace {
CT_Listener* gpco_CloseListener = nullptr;
CT_HostBackend& host() {
    return CT_Host::sco_Backend();
}
}  // namespace

void* CT_DocumentInterface::p_GetCurrentDocument() {
    return host().p_GetCurrentDocument();
}
void* CT_DocumentInterface::p_IsDocumentOpen(const CT_String& co_Path) {
    return host().p_IsDocumentOpen(co_Path);
}
void* CT_DocumentInterface::p_Open(const CT_String& co_Path, int i_Option) {
    return host().p_Open(co_Path, i_Option);
}
CT_String CT_DocumentInterface::co_GetDocumentPath(void* p_Document) {
    return host().co_GetDocumentPath(p_Document);
}
int CT_DocumentInterface::b_IsEqual(void* p_Document, void* p_Other) {
    return host().b_IsEqual(p_Document, p_Other);
}
void CT_DocumentInterface::v_Release(void*& p_Document) {
    host().v_Release(p_Document);
}
void CT_DocumentInterface::v_Save(void* p_Document) {
    host().v_Save(p_Document);
}
void CT_DocumentInterface::v_Close(void* p_Document, int b_Save) {
    host().v_Close(p_Document, b_Save);
}
void CT_DocumentInterface::v_GotoThePage(int i_Page) {
    host().v_GotoThePage(i_Page);
}
void CT_DocumentInterface::v_GotoPasteBoard() {
    host().v_GotoPasteBoard();
}
void CT_DocumentInterface::v_GotoMasterPage() {
    host().v_GotoMasterPage();
}

void CT_DocumentInterface::sv_SetCloseDocumentListener(CT_Listener* pco_Listener) {
    gpco_CloseListener = pco_Listener;
}
CT_Listener* CT_DocumentInterface::spco_GetCloseDocumentListener() {
    return gpco_CloseListener;
}

void CT_DocumentInterface::v_GenerateBoxList(int b_IgnorePasteBoard) {
    host().v_GenerateBoxList(b_IgnorePasteBoard);
}
int CT_DocumentInterface::b_IsBoxListEmpty() {
    return host().b_IsBoxListEmpty();
}
void CT_DocumentInterface::v_ResetBoxList() {
    host().v_ResetBoxList();
}
void* CT_DocumentInterface::p_GetCurrentBox() {
    return host().p_GetCurrentBox();
}
int CT_DocumentInterface::b_NextTextBox() {
    return host().b_NextTextBox();
}

void CT_DocumentInterface::v_PrepareForExport() {
    host().v_PrepareForExport();
}
void CT_DocumentInterface::v_CloseExport() {
    host().v_CloseExport();
}
void CT_DocumentInterface::v_PrepareForImport() {
    host().v_PrepareForImport();
}
void CT_DocumentInterface::v_CloseImport() {
    host().v_CloseImport();
}
CT_StorySetting CT_DocumentInterface::sco_GetStorySetting(const CT_String& co_Key) {
    return host().co_GetStorySetting(co_Key);
}
