#include "exchange/ct_xliff_finding.h"

#include "platform/common/ct_shown.h"

namespace {
// At most this many characters of a paragraph are quoted: enough to tell two texts apart.
constexpr std::size_t kn_Quoted = 60;

std::string co_Quote(const std::string& co_Text) {
    std::string co_out = "\"";
    std::size_t n_chars = 0;
    std::size_t n = 0;
    for (; n < co_Text.size(); ++n) {
        const bool b_start = (static_cast<unsigned char>(co_Text[n]) & 0xC0) != 0x80;
        if (b_start && n_chars++ == kn_Quoted) {
            break;
        }
        co_out += co_Text[n];
    }
    return co_out + (n < co_Text.size() ? "...\"" : "\"");
}
}  // namespace

CT_XliffFinding::et_Weight CT_XliffFinding::eo_Weight() const {
    switch (eo_Kind) {
        case e_UnknownUnit:
        case e_DuplicateUnit:
        case e_UnknownStory:
        case e_SourceDiffers:
            return e_Difference;
        case e_MissingUnit:
        case e_Untranslated:
            return e_NotTranslated;
        case e_Review:
        case e_SourceLanguage:
        case e_TargetLanguage:
        case e_Original:
            return e_Note;
        default:
            return e_Error;
    }
}

const char* CT_XliffFinding::pc_KindName() const {
    static const char* const apc_names[] = {
        "unreadable",   "code-missing",   "code-extra",      "code-twice",      "code-out-of-place",
        "unknown-unit", "duplicate-unit", "unknown-story",   "source-differs",  "missing-unit",
        "untranslated", "review",         "source-language", "target-language", "original",
    };
    return apc_names[eo_Kind];
}

std::string CT_XliffFinding::co_What() const {
    switch (eo_Kind) {
        case e_Unreadable:
            return co_Detail;
        case e_CodeMissing:
            return "the target lacks code " + co_Code + " of its source";
        case e_CodeExtra:
            return "the target has code " + co_Code + " that its source does not have";
        case e_CodeTwice:
            return "the target has code " + co_Code + " more often than its source";
        case e_CodeOutOfPlace:
            return "the target closes code " + co_Code + " out of order";
        case e_UnknownUnit:
            return "no unit of the document has this id, so the file cannot say where it goes";
        case e_DuplicateUnit:
            return "the id stands in the file a second time (first on line " + co_Detail +
                   "); the later unit is not read";
        case e_UnknownStory:
            return "the document has no story with the key \"" + CT_Shown::ss_Value(co_Story) +
                   "\"";
        case e_SourceDiffers:
            return "the source is not the document's text, which changed since the export: " +
                   co_Quote(co_Detail) + " in the file, " + co_Quote(co_Document) +
                   " in the document";
        case e_MissingUnit:
            return "the file lacks this unit; its paragraph keeps the document's text";
        case e_Untranslated:
            return "not translated";
        case e_Review:
            return "translated, to be reviewed (state \"" + co_Detail + "\")";
        case e_SourceLanguage:
            return "the file's source language is \"" + co_Detail + "\", the document's \"" +
                   co_Document + "\"";
        case e_TargetLanguage:
            return co_Detail;
        case e_Original:
            return "made for \"" + CT_Shown::ss_Value(co_Detail) + "\", not for this document";
    }
    return co_Detail;
}

const char* CT_XliffFinding::pc_WhenAccepted() const {
    return eo_Kind == e_SourceDiffers ? "its translation goes in all the same" : "it is left out";
}

std::string CT_XliffFinding::co_Text(const std::string& co_File) const {
    std::string co_text = co_File;
    if (n_Line != 0) {
        co_text += ":" + std::to_string(n_Line);
    }
    co_text += ": ";
    if (!co_Story.empty() && eo_Kind != e_UnknownStory) {
        co_text += "story " + CT_Shown::ss_Value(co_Story) + (co_Unit.empty() ? ": " : ", ");
    }
    if (!co_Unit.empty()) {
        co_text += "unit " + CT_Shown::ss_Value(co_Unit) + ": ";
    }
    return co_text + co_What();
}
