// The language an IDML document's text is set in, as a BCP 47 code for an XLIFF file's
// source-language: the language most of the stories' characters carry, through their
// paragraph styles (and the styles those are based on) or set on the text itself, with the
// document's default text language where nothing else says. Stateless.
#pragma once

#include <string>

#include "platform/host/idml/ct_idml_text_languages.h"

class CT_IdmlDocument;

class CT_DocumentLanguage {
  public:
    // The code, or the empty string when the document names no language this knows. From the
    // counts of its stories when given (CT_IdmlHost::pco_TextLanguages), else every story is
    // read to count.
    static std::string ss_Of(const CT_IdmlDocument& co_Document,
                             const CT_IdmlTextLanguages::CT_Counts* pco_Counted = nullptr);
    // The BCP 47 code of a language as IDML names it ("$ID/English: USA" gives "en-US"); the
    // empty string for "[No Language]" and names this does not know.
    static std::string ss_FromIdml(const std::string& s_Name);
};
