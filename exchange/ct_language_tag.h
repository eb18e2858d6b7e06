// Whether a language code given for an XLIFF file is a BCP 47 tag that names something: not
// only well-formed ("french" is), but with a language, and a region when it has one, that ICU
// knows. A refusal says what is wrong and, when the text is a language's English name or an
// ICU locale name, the tag meant. Stateless.
#pragma once

#include <string>

class CT_LanguageTag {
  public:
    // Empty for a tag such as fr, fr-CA, zh-Hant-TW or es-419; otherwise why it is refused,
    // e.g. "\"french\" names no language; did you mean fr?". Refuses what is not well-formed,
    // a language subtag ICU has no name for, an unknown region, and private-use or
    // grandfathered tags without a language of their own.
    static std::string ss_Problem(const std::string& s_Tag);
};
