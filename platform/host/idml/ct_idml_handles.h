// The handles the IDML host gives out: one small object per hand-out, freed by its release, so
// that a count of live handles shows leaks. A handle names its document by serial number and
// carries what it describes, so it stays a valid object after its document has closed; the host
// then refuses only what needs the live document. Handles left at the end are freed with this.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "platform/host/idml/ct_idml_box.h"

struct CT_IdmlDocumentHandle {
    unsigned n_Serial = 0;
    std::string s_Path;  // as the document was opened
};

struct CT_IdmlBoxHandle {
    unsigned n_Serial = 0;
    CT_IdmlBox co_Box;
};

class CT_IdmlHandles {
  public:
    void* p_NewDocument(unsigned n_Serial, const std::string& s_Path);
    void* p_NewBox(unsigned n_Serial, const CT_IdmlBox& co_Box);

    // The record behind a handle; a pointer that is no live handle of that kind raises
    // e_UnknownDocument.
    const CT_IdmlDocumentHandle& cco_Document(void* p_Handle) const;
    const CT_IdmlBoxHandle& cco_Box(void* p_Handle) const;

    // Frees the handle and nulls the pointer. Null is accepted. Releases run in destructors, so
    // an unknown pointer (a second release) raises nothing: it is counted and otherwise ignored.
    void v_ReleaseDocument(void*& p_Handle);
    void v_ReleaseBox(void*& p_Handle);

    int n_LiveDocuments() const { return static_cast<int>(co_Documents.size()); }
    int n_LiveBoxes() const { return static_cast<int>(co_Boxes.size()); }
    int n_BadReleases() const { return n_Bad; }

  private:
    std::unordered_map<const void*, std::unique_ptr<CT_IdmlDocumentHandle>> co_Documents;
    std::unordered_map<const void*, std::unique_ptr<CT_IdmlBoxHandle>> co_Boxes;
    int n_Bad = 0;
};
