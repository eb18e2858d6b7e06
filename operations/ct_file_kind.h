// What a file given as a translation is, told from its first bytes: a tagged story file, an
// XLIFF file, a zip archive (a document given in the wrong place), UTF-16 text or bytes that
// are no text at all. The readers ask before they read, so that a file of the wrong kind is
// named as such rather than failing somewhere inside. Stateless.
#pragma once

#include <cstddef>
#include <string>

class CT_FileKind {
  public:
    enum et_Kind { e_Other, e_Tagged, e_Xliff, e_Zip, e_Utf16, e_Binary };

    // How many first bytes the guess looks at.
    static constexpr std::size_t sn_Head = 64 * 1024;

    // From the file's first bytes (sn_Head of them are enough).
    static et_Kind seo_Guess(const std::string& s_Head);
    // What a file of the kind is, worded to follow "is" in a message ("a zip archive (a
    // document?)"); nullptr for e_Other, which has nothing to say.
    static const char* spc_Describe(et_Kind eo_Kind);
    // The first bytes of the file at the path; empty when it cannot be read or is no regular
    // file (a pipe, a device).
    static std::string ss_ReadHead(const std::string& s_Path);
};
