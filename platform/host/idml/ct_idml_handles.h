// The handles the IDML host gives out, each a serial number of its own registry, so that a
// released handle can never name a later one and a count of live handles shows leaks. A handle
// names its document by the opening's serial number and by the file, and carries what it
// describes, so it stays a valid record after its document has closed; the host then refuses
// only what needs the live document. Handles left at the end are freed with this object.
#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/host/ct_handle_registry.h"
#include "platform/host/idml/ct_idml_box.h"

struct CT_IdmlDocumentHandle {
    unsigned n_Serial = 0;  // the opening of the document
    unsigned n_File = 0;    // the file: equal for every opening of one file
    std::string s_Path;     // as the document was opened
    // The document that was active before p_IsDocumentOpen made this one active, for as long
    // as the kernel works on it; 0 when the handle activated nothing.
    unsigned n_Restore = 0;
};

struct CT_IdmlBoxHandle {
    unsigned n_Serial = 0;
    unsigned long long n_Box = 0;  // one number per file and story key
    CT_IdmlBox co_Box;
};

class CT_IdmlHandles {
  public:
    // s_File names the file whatever the spelling of its path (its canonical path).
    void* p_NewDocument(unsigned n_Serial, const std::string& s_File, const std::string& s_Path,
                        unsigned n_Restore = 0);
    void* p_NewBox(unsigned n_Serial, const std::string& s_File, const CT_IdmlBox& co_Box);

    // The record behind a handle; a pointer that is no live handle of that kind raises
    // e_UnknownDocument.
    const CT_IdmlDocumentHandle& cco_Document(void* p_Handle) const;
    const CT_IdmlBoxHandle& cco_Box(void* p_Handle) const;
    // The record behind a live document handle, or null: what a release still needs to know.
    const CT_IdmlDocumentHandle* pco_FindDocument(void* p_Handle) const {
        return co_Documents.pco_Find(p_Handle);
    }

    // Frees the handle and nulls the pointer; see CT_HandleRegistry::v_Release.
    void v_ReleaseDocument(void*& p_Handle) { co_Documents.v_Release(p_Handle); }
    void v_ReleaseBox(void*& p_Handle) { co_Boxes.v_Release(p_Handle); }

    int n_LiveDocuments() const { return static_cast<int>(co_Documents.n_Live()); }
    int n_LiveBoxes() const { return static_cast<int>(co_Boxes.n_Live()); }
    int n_BadReleases() const { return co_Documents.n_BadReleases() + co_Boxes.n_BadReleases(); }

  private:
    unsigned n_FileOf(const std::string& s_File);

    CT_HandleRegistry<CT_IdmlDocumentHandle> co_Documents;
    CT_HandleRegistry<CT_IdmlBoxHandle> co_Boxes;
    std::unordered_map<std::string, unsigned> co_Files;
    std::map<std::pair<unsigned, std::string>, unsigned long long> co_BoxIdentities;
};
