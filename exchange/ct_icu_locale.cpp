#include "exchange/ct_icu_locale.h"

icu::Locale CT_IcuLocale::sco_From(const std::string& co_Code) {
    if (co_Code.empty()) {
        return icu::Locale::getRoot();
    }
    UErrorCode eo_status = U_ZERO_ERROR;
    icu::Locale co_locale = icu::Locale::forLanguageTag(co_Code, eo_status);
    if (U_SUCCESS(eo_status) && !co_locale.isBogus() && co_locale.getLanguage()[0] != '\0') {
        return co_locale;
    }
    icu::Locale co_named(co_Code.c_str());
    return co_named.isBogus() ? icu::Locale::getRoot() : co_named;
}
