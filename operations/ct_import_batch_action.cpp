#include "operations/ct_import_batch_action.h"

#include <algorithm>
#include <memory>

#include "operations/ct_import_gate.h"
#include "operations/ct_log_sink.h"
#include "operations/ct_session.h"
#include "operations/ct_tagged_file.h"
#include "operations/ct_xliff_import.h"
#include "platform/common/ct_errors.h"
#include "platform/host/idml/ct_idml_documents.h"

CT_ImportBatchAction::CT_ImportBatchAction(CT_Session& co_Session, const CT_BatchFolder& co_Folder)
    : co_Session(co_Session), co_Folder(co_Folder) {}

int CT_ImportBatchAction::b_Execute(const CT_String& co_TaggedFile, CT_ProcessData& co_Data) {
    const unsigned n_errorsBefore = co_Session.co_GetSink().n_GetErrorLines();
    int b_stopped = 0;
    try {
        b_stopped = b_Import(co_TaggedFile, co_Data);
    } catch (et_ErrorCode) {
        // This document's file is at fault, not the batch: it is reported and the batch goes
        // on with the next document.
        co_Session.v_LogError(CT_Errors::cco_GetLastError());
        CT_Errors::v_ResetError();
    }
    const std::string s_path(pco_Document->co_GetFilePath().sv());
    const bool b_clean = b_stopped == 0 &&
                         co_Session.co_GetSink().n_GetErrorLines() == n_errorsBefore &&
                         b_Save(s_path);
    co_Handled.push_back(CT_IdmlDocuments::s_Canonical(s_path));
    co_Clean.push_back(b_clean);
    return b_stopped;
}

// Saved here rather than when the document is closed, so that a save the host refuses (a story
// the translation made too large) is this document's error: the document is named, and its
// copy is not put in place.
bool CT_ImportBatchAction::b_Save(const std::string& s_Path) {
    try {
        pco_Document->v_Save();
    } catch (et_ErrorCode) {
        co_Session.v_LogError(CT_String((s_Path + ": ").c_str()) + CT_Errors::cco_GetLastError());
        CT_Errors::v_ResetError();
        return false;
    }
    return true;
}

// A copy that will not be put in place is not saved again: a refused save would only be
// refused once more.
int CT_ImportBatchAction::b_IsSaveNeeded() {
    if (pco_Document == nullptr || co_Handled.empty()) {
        return 1;
    }
    const bool b_handled =
        co_Handled.back() ==
        CT_IdmlDocuments::s_Canonical(std::string(pco_Document->co_GetFilePath().sv()));
    return !b_handled || co_Clean.back();
}

int CT_ImportBatchAction::b_Import(const CT_String& co_TaggedFile, CT_ProcessData& co_Data) {
    const std::string s_document(pco_Document->co_GetFilePath().sv());
    const std::string s_tagged = co_Folder.s_FileOf(co_TaggedFile.sv(), s_document);
    std::unique_ptr<CT_XliffImport> pco_xliff;
    if (b_Xliff) {
        pco_xliff = std::make_unique<CT_XliffImport>(co_Session, s_tagged);
        pco_xliff->v_Place(s_document, s_document);
        pco_xliff->v_Admit();
    }
    const CT_TaggedFile co_file(pco_xliff ? pco_xliff->s_GetTagged() : s_tagged,
                                !pco_xliff || !pco_xliff->b_IsConverted());
    if (!CT_ImportGate::sb_Admit(co_Session, co_file, *pco_Document->pco_GetStoryOrder(0),
                                 s_document)) {
        return 0;
    }
    co_Session.co_GetSink().v_AddRewrite(co_file.s_GetReadablePath(), s_tagged);
    co_Session.v_LocateErrorsIn(&co_file);
    int b_stopped = 0;
    try {
        b_stopped = pco_Document->b_Import(CT_String(co_file.s_GetReadablePath().c_str()), co_Data);
    } catch (et_ErrorCode) {
        co_Session.v_LocateErrorsIn(nullptr);
        throw;
    }
    co_Session.v_LocateErrorsIn(nullptr);
    return b_stopped;
}

bool CT_ImportBatchAction::b_WasClean(const std::string& s_DocumentPath) const {
    const auto it_found = std::find(co_Handled.begin(), co_Handled.end(),
                                    CT_IdmlDocuments::s_Canonical(s_DocumentPath));
    return it_found != co_Handled.end() && co_Clean[it_found - co_Handled.begin()];
}

void CT_ImportBatchAction::v_DropLast() {
    if (!co_Clean.empty()) {
        co_Clean.back() = false;
    }
}
