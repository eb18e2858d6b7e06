// Turns a language code as users give it (BCP 47 "pt-BR", or ICU's "pt_BR") into an ICU
// locale; an empty or unreadable code gives ICU's root locale, whose rules suit most text.
#pragma once

#include <unicode/locid.h>

#include <string>

class CT_IcuLocale {
  public:
    static icu::Locale sco_From(const std::string& co_Code);
};
