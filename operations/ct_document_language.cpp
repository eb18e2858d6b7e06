#include "operations/ct_document_language.h"

#include <pugixml.hpp>

#include <cstring>
#include <map>
#include <unordered_map>

#include "platform/host/idml/ct_idml_document.h"
#include "platform/host/idml/ct_idml_package.h"
#include "platform/host/idml/ct_idml_text_languages.h"

namespace {
// IDML's names of the languages its dictionaries cover, without "$ID/".
const std::unordered_map<std::string, std::string>& gco_Codes() {
    static const std::unordered_map<std::string, std::string> sco_codes = {
        {"English: USA", "en-US"},
        {"English: USA Legal", "en-US"},
        {"English: USA Medical", "en-US"},
        {"English: UK", "en-GB"},
        {"English: Canadian", "en-CA"},
        {"German: Traditional", "de-DE"},
        {"German: Reformed", "de-DE"},
        {"German: 2006 Reform", "de-DE"},
        {"de_DE_2006", "de-DE"},
        {"German: Swiss", "de-CH"},
        {"German: Swiss 2006 Reform", "de-CH"},
        {"de_CH_2006", "de-CH"},
        {"German: Austrian", "de-AT"},
        {"French", "fr-FR"},
        {"French: Canadian", "fr-CA"},
        {"Italian", "it-IT"},
        {"Spanish", "es-ES"},
        {"Spanish: Castilian", "es-ES"},
        {"Portuguese", "pt-PT"},
        {"Portuguese: Orthographic Agreement", "pt-PT"},
        {"Portuguese: Brazilian", "pt-BR"},
        {"Brazilian Portuguese: Orthographic Agreement", "pt-BR"},
        {"Catalan", "ca"},
        {"Dutch", "nl-NL"},
        {"Dutch: 2005 Reform", "nl-NL"},
        {"Danish", "da-DK"},
        {"Swedish", "sv-SE"},
        {"Norwegian: Bokmal", "nb-NO"},
        {"Norwegian: Nynorsk", "nn-NO"},
        {"Finnish", "fi-FI"},
        {"Icelandic", "is-IS"},
        {"Estonian", "et-EE"},
        {"Latvian", "lv-LV"},
        {"Lithuanian", "lt-LT"},
        {"Polish", "pl-PL"},
        {"Czech", "cs-CZ"},
        {"Slovak", "sk-SK"},
        {"Slovenian", "sl-SI"},
        {"Croatian", "hr-HR"},
        {"Serbian", "sr"},
        {"Hungarian", "hu-HU"},
        {"Romanian", "ro-RO"},
        {"Bulgarian", "bg-BG"},
        {"Russian", "ru-RU"},
        {"Ukrainian", "uk-UA"},
        {"Belarusian", "be-BY"},
        {"Greek", "el-GR"},
        {"Greek: Mono-Tonic", "el-GR"},
        {"Turkish", "tr-TR"},
        {"Arabic", "ar"},
        {"Hebrew", "he-IL"},
        {"Persian", "fa-IR"},
        {"Urdu", "ur"},
        {"Hindi", "hi-IN"},
        {"Bengali", "bn"},
        {"Thai", "th-TH"},
        {"Vietnamese", "vi-VN"},
        {"Indonesian", "id-ID"},
        {"Malay", "ms"},
        {"Japanese", "ja-JP"},
        {"Korean", "ko-KR"},
        {"Chinese: Simplified", "zh-CN"},
        {"Simplified Chinese", "zh-CN"},
        {"zh_CN", "zh-CN"},
        {"Chinese: Traditional", "zh-TW"},
        {"Traditional Chinese", "zh-TW"},
        {"zh_TW", "zh-TW"},
    };
    return sco_codes;
}

// The paragraph styles' languages, each resolved through the styles it is based on.
class CT_StyleLanguages {
  public:
    CT_StyleLanguages(const pugi::xml_node& co_Styles, const std::string& s_Default)
        : s_Default(s_Default) {
        for (const pugi::xpath_node& co_found : co_Styles.select_nodes("//ParagraphStyle")) {
            const pugi::xml_node co_style = co_found.node();
            ct_Style& co_entry = co_Styles_[co_style.attribute("Self").value()];
            co_entry.s_Language = co_style.attribute("AppliedLanguage").value();
            std::string s_base = co_style.child("Properties").child_value("BasedOn");
            if (!s_base.empty() && s_base.compare(0, 15, "ParagraphStyle/") != 0) {
                s_base = "ParagraphStyle/" + s_base;
            }
            co_entry.s_BasedOn = s_base;
        }
    }

    const std::string& s_Of(const std::string& s_Style) const {
        // Based-on chains are short; the bound keeps a loop in a broken file finite.
        std::string s_at = s_Style;
        for (int n = 0; n < 64; ++n) {
            auto co_found = co_Styles_.find(s_at);
            if (co_found == co_Styles_.end()) {
                break;
            }
            if (!co_found->second.s_Language.empty()) {
                return co_found->second.s_Language;
            }
            s_at = co_found->second.s_BasedOn;
        }
        auto co_root = co_Styles_.find("ParagraphStyle/$ID/[No paragraph style]");
        if (co_root != co_Styles_.end() && !co_root->second.s_Language.empty()) {
            return co_root->second.s_Language;
        }
        return s_Default;
    }

  private:
    struct ct_Style {
        std::string s_Language;
        std::string s_BasedOn;
    };
    std::unordered_map<std::string, ct_Style> co_Styles_;
    std::string s_Default;
};

std::string s_Stripped(const std::string& s_Name) {
    return s_Name.compare(0, 4, "$ID/") == 0 ? s_Name.substr(4) : s_Name;
}
}  // namespace

std::string CT_DocumentLanguage::ss_FromIdml(const std::string& s_Name) {
    auto co_found = gco_Codes().find(s_Stripped(s_Name));
    return co_found == gco_Codes().end() ? std::string() : co_found->second;
}

std::string CT_DocumentLanguage::ss_Of(const CT_IdmlDocument& co_Document,
                                       const CT_IdmlTextLanguages::CT_Counts* pco_Counted) {
    const CT_IdmlPackage co_package(co_Document.s_Path());
    pugi::xml_document co_preferences;
    pugi::xml_document co_styles;
    // Parsed in place, the tree taking the bytes over; a part that is missing or does not parse
    // names no language, as an empty tree names none.
    auto v_Load = [&co_package](pugi::xml_document& co_Tree, const char* pc_Entry) {
        if (co_package.b_Has(pc_Entry)) {
            CT_IdmlPartBytes co_bytes = co_package.co_Read(pc_Entry);
            const std::size_t n_size = co_bytes.n_Size();
            co_Tree.load_buffer_inplace_own(co_bytes.pc_Release(), n_size);
        }
    };
    v_Load(co_preferences, "Resources/Preferences.xml");
    v_Load(co_styles, "Resources/Styles.xml");
    // The language new text gets: what text that names none is set in.
    const std::string s_default =
        co_preferences.document_element().child("TextDefault").attribute("AppliedLanguage").value();
    const CT_StyleLanguages co_languages(co_styles, s_default);
    CT_IdmlTextLanguages::CT_Counts co_counted;
    if (pco_Counted == nullptr) {
        co_Document.v_ForEachStory([&](const std::string&, const pugi::xml_node& co_Story) {
            CT_IdmlTextLanguages::sv_Count(co_Story, co_counted);
        });
        pco_Counted = &co_counted;
    }
    std::map<std::string, std::size_t> co_counts;
    for (const auto& [s_from, n_characters] : *pco_Counted) {
        const bool b_style = !s_from.empty() && s_from[0] == CT_IdmlTextLanguages::sk_Style;
        co_counts[b_style ? co_languages.s_Of(s_from.substr(1)) : s_from] += n_characters;
    }
    std::string s_best;
    std::size_t n_best = 0;
    for (const auto& co_count : co_counts) {
        if (co_count.second > n_best && !ss_FromIdml(co_count.first).empty()) {
            s_best = co_count.first;
            n_best = co_count.second;
        }
    }
    return ss_FromIdml(s_best.empty() ? co_languages.s_Of("") : s_best);
}
