// The documents the IDML host has open, by serial number, and which of them is active: the one
// opened or activated last. Owns the open documents. Serial numbers are never reused, so a
// handle of a closed document never reaches a document opened later.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/host/idml/ct_idml_document.h"

class CT_IdmlDocuments {
  public:
    // The serial of the open document at the path, or 0.
    unsigned n_Find(const std::string& s_Path) const;
    // Loads the document at the path (raising e_BadDocument when it is broken), unless it is
    // open already, and makes it the active one. Returns its serial.
    // A reader is handed each story as a newly opened document loads (see CT_IdmlDocument).
    unsigned n_Open(const std::string& s_Path, CT_IdmlDocument::CT_StoryReader co_Reader = {});
    // The threads a document opened from now on is read on (CT_IdmlDocument); 1 at first.
    void v_SetThreads(unsigned n_Count) { n_Threads = n_Count; }
    // Asked while a document loads (CT_IdmlDocument); empty: never cancelled.
    void v_SetCancelSource(std::function<int()> co_Source) { co_Cancel = std::move(co_Source); }
    void v_Activate(unsigned n_Serial);
    bool b_IsOpen(unsigned n_Serial) const { return co_Open.count(n_Serial) != 0; }
    // The active document's serial, or 0 when none is open.
    unsigned n_Active() const { return co_Recent.empty() ? 0 : co_Recent.back(); }

    // The open document with the serial; e_UnknownDocument when it has closed.
    CT_IdmlDocument& co_Live(unsigned n_Serial) const;
    // The path the open document was first opened by, made absolute, without "." and "..".
    const std::string& s_ShownPath(unsigned n_Serial) const;
    // The canonical path of the open document: one text per file, whatever the spelling.
    const std::string& s_FilePath(unsigned n_Serial) const;
    // Forgets the document; the most recently active other one becomes active.
    void v_Drop(unsigned n_Serial);
    std::size_t n_Count() const { return co_Open.size(); }

    // Absolute forms of a path (a backslash is part of a name) with "." and ".." gone; the
    // canonical form also follows symbolic links, so that two spellings of one file are equal.
    static std::string s_Absolute(const std::string& s_Path);
    static std::string s_Canonical(const std::string& s_Path);

  private:
    struct CT_Entry {
        std::string s_Key;    // the canonical path
        std::string s_Shown;  // the absolute path as first opened
        std::unique_ptr<CT_IdmlDocument> pco_Document;
    };
    std::unordered_map<unsigned, CT_Entry> co_Open;
    std::vector<unsigned> co_Recent;  // least recently active first
    unsigned n_LastSerial = 0;
    unsigned n_Threads = 1;
    std::function<int()> co_Cancel;
};
