#include "platform/host/idml/ct_idml_page_names.h"

#include <unordered_map>

namespace {

std::string s_Roman(unsigned n_Number) {
    static const std::pair<unsigned, const char*> aco_digits[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    std::string s_out;
    for (const auto& [n_value, pc_digits] : aco_digits) {
        for (; n_Number >= n_value; n_Number -= n_value) {
            s_out += pc_digits;
        }
    }
    return s_out;
}

// A, B, ... Z, AA, AB: letters as digits of a base without zero.
std::string s_Letters(unsigned n_Number) {
    std::string s_out;
    for (; n_Number > 0; n_Number = (n_Number - 1) / 26) {
        s_out.insert(s_out.begin(), static_cast<char>('a' + (n_Number - 1) % 26));
    }
    return s_out;
}

std::string s_Upper(std::string s_Text) {
    for (char& c_char : s_Text) {
        c_char = c_char >= 'a' && c_char <= 'z' ? static_cast<char>(c_char - 'a' + 'A') : c_char;
    }
    return s_Text;
}

std::string s_Padded(unsigned n_Number, std::size_t n_Width) {
    const std::string s_digits = std::to_string(n_Number);
    return s_digits.size() >= n_Width ? s_digits
                                      : std::string(n_Width - s_digits.size(), '0') + s_digits;
}

}  // namespace

CT_IdmlPageNames::CT_IdmlPageNames(const CT_IdmlDocument& co_Document) {
    std::unordered_map<std::string, const CT_IdmlSection*> co_starts;
    for (const CT_IdmlSection& co_section : co_Document.co_GetSections()) {
        co_starts.emplace(co_section.s_PageStart, &co_section);
    }
    static const CT_IdmlSection sco_Plain;
    const CT_IdmlSection* pco_section = &sco_Plain;
    unsigned n_number = 0;
    for (const CT_IdmlSpreadPart& co_spread : co_Document.co_SpreadOutlines()) {
        if (co_spread.b_Master) {
            continue;
        }
        for (const std::string& s_page : co_spread.co_Outline.co_PageIds) {
            const auto co_start = co_starts.find(s_page);
            if (co_start != co_starts.end()) {
                pco_section = co_start->second;
                n_number = pco_section->b_Continue ? n_number + 1 : pco_section->n_Start;
            } else {
                ++n_number;
            }
            co_Names.push_back(pco_section->s_Prefix + ss_Number(n_number, pco_section->s_Style));
        }
    }
}

std::string CT_IdmlPageNames::s_Name(unsigned n_Page) const {
    return n_Page >= 1 && n_Page <= co_Names.size() ? co_Names[n_Page - 1] : std::to_string(n_Page);
}

std::string CT_IdmlPageNames::ss_Number(unsigned n_Number, const std::string& s_Style) {
    if (s_Style == "LowerRoman" || s_Style == "UpperRoman") {
        const std::string s_roman = n_Number > 0 && n_Number < 4000 ? s_Roman(n_Number) : "";
        if (!s_roman.empty()) {
            return s_Style == "UpperRoman" ? s_Upper(s_roman) : s_roman;
        }
    } else if (s_Style == "LowerLetters" || s_Style == "UpperLetters") {
        return s_Style == "UpperLetters" ? s_Upper(s_Letters(n_Number)) : s_Letters(n_Number);
    } else if (s_Style == "SingleLeadingZeros") {
        return s_Padded(n_Number, 2);
    } else if (s_Style == "DoubleLeadingZeros") {
        return s_Padded(n_Number, 3);
    } else if (s_Style == "TripleLeadingZeros") {
        return s_Padded(n_Number, 4);
    }
    return std::to_string(n_Number);
}
