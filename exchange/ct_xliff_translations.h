// What a translator has done to an XLIFF file, as far as an export about to replace the file
// must know: which units hold a translation that the export's fresh copies of the source would
// lose. Reads an XLIFF 1.2 file of any tool (namespace prefixes, several <file>s, UTF-16 with a
// byte order mark). Stateless.
#pragma once

#include <string>
#include <vector>

class CT_XliffTranslations {
  public:
    // The ids of the units that hold a translation, in file order. A unit holds one when its
    // target has text or codes and either differs from its source (segment markers aside) or
    // says that a translator decided on it (state translated, final, signed-off or needs-review-*,
    // or approved="yes") while its source has a letter: export itself writes units of numbers
    // only as done. Refuses a file that is not well-formed XML, or that nests elements deeper
    // than CT_XmlDepth::kn_Limit: s_Error then says why (and where), and nothing is returned.
    static std::vector<std::string> sco_Find(const std::string& s_Path, std::string& s_Error);
};
