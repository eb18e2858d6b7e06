#include "exchange/ct_language_tag.h"

#include <unicode/locid.h>
#include <unicode/uloc.h>
#include <unicode/unistr.h>

#include <cctype>
#include <cstring>

namespace {
std::string s_Lower(std::string s_Text) {
    for (char& c_char : s_Text) {
        c_char = static_cast<char>(std::tolower(static_cast<unsigned char>(c_char)));
    }
    return s_Text;
}

bool b_InList(const char* const* ppc_List, const std::string& s_Code) {
    for (; *ppc_List != nullptr; ++ppc_List) {
        if (s_Code == *ppc_List) {
            return true;
        }
    }
    return false;
}

// ICU's English name of a language code, or the code itself when it has none.
std::string s_EnglishName(const char* pc_Language) {
    icu::UnicodeString co_name;
    icu::Locale(pc_Language).getDisplayLanguage(icu::Locale::getEnglish(), co_name);
    std::string s_name;
    return co_name.toUTF8String(s_name);
}

// A language ICU has a name for: a code of its list, or one it names in English.
bool b_KnownLanguage(const std::string& s_Code) {
    return b_InList(uloc_getISOLanguages(), s_Code) || s_EnglishName(s_Code.c_str()) != s_Code;
}

// A region by its ISO code, or a UN M.49 area of three digits (419 for Latin America).
bool b_KnownRegion(const std::string& s_Code) {
    if (s_Code.size() == 3 && std::isdigit(static_cast<unsigned char>(s_Code[0])) != 0) {
        return true;
    }
    std::string s_upper = s_Code;
    for (char& c_char : s_upper) {
        c_char = static_cast<char>(std::toupper(static_cast<unsigned char>(c_char)));
    }
    return b_InList(uloc_getISOCountries(), s_upper);
}

// The tag the text means: a two-letter language whose English name it is ("French"), or a
// locale name with "_" where a tag has "-" ("pt_BR"). Empty when none.
std::string s_Meant(const std::string& s_Text) {
    const std::string s_text = s_Lower(s_Text);
    for (const char* const* ppc_code = uloc_getISOLanguages(); *ppc_code != nullptr; ++ppc_code) {
        if (std::strlen(*ppc_code) == 2 && s_Lower(s_EnglishName(*ppc_code)) == s_text) {
            return *ppc_code;
        }
    }
    if (s_Text.find('_') != std::string::npos) {
        std::string s_tag = s_Text;
        for (char& c_char : s_tag) {
            c_char = c_char == '_' ? '-' : c_char;
        }
        return CT_LanguageTag::ss_Problem(s_tag).empty() ? s_tag : "";
    }
    return "";
}

std::string s_Refused(const std::string& s_Tag, const std::string& s_Why) {
    const std::string s_meant = s_Meant(s_Tag);
    return "\"" + s_Tag + "\" " + s_Why +
           (s_meant.empty() ? "; give a BCP 47 tag such as fr or en-US"
                            : "; did you mean " + s_meant + "?");
}
}  // namespace

std::string CT_LanguageTag::ss_Problem(const std::string& s_Tag) {
    // ICU reads a tag only as far as it can; what it leaves is no part of the tag.
    UErrorCode eo_status = U_ZERO_ERROR;
    int32_t i_parsed = 0;
    char ac_locale[ULOC_FULLNAME_CAPACITY] = {};
    uloc_forLanguageTag(s_Tag.c_str(), ac_locale, sizeof ac_locale, &i_parsed, &eo_status);
    if (s_Tag.empty() || U_FAILURE(eo_status) || i_parsed != static_cast<int32_t>(s_Tag.size())) {
        return s_Refused(s_Tag, "is not a BCP 47 language tag");
    }
    const icu::Locale co_locale(ac_locale);
    const std::string s_language = co_locale.getLanguage();
    if (s_language.empty() || !b_KnownLanguage(s_language)) {
        return s_Refused(s_Tag, "names no language");
    }
    const std::string s_region = co_locale.getCountry();
    if (!s_region.empty() && !b_KnownRegion(s_region)) {
        return s_Refused(s_Tag, "names no region (" + s_region + ")");
    }
    return "";
}
