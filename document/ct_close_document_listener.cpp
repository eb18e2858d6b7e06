#include "document/ct_close_document_listener.h"

#include <new>

#include "document/ct_document.h"
#include "platform/host/ct_document_interface.h"

namespace {
// The host keeps the listener's address until the process ends, past the unloading of this
// library's other static objects; a destroyed listener would leave it calling a dead object.
// So the listener is built in storage that no destructor ever touches.
alignas(
    CT_CloseDocumentListener) unsigned char gac_ListenerStorage[sizeof(CT_CloseDocumentListener)];
}  // namespace

CT_CloseDocumentListener& CT_CloseDocumentListener::sco_CloseDocumentListener =
    *new (gac_ListenerStorage) CT_CloseDocumentListener();

CT_CloseDocumentListener::CT_CloseDocumentListener() {
    CT_DocumentInterface::sv_SetCloseDocumentListener(this);
}

void CT_CloseDocumentListener::operator()() {
    CT_Document::sv_CloseCurrentDocument();
}
