// One thing found while a translated XLIFF file is laid over its document: a unit that cannot
// be read or placed, a unit or story that does not match the document, a unit left
// untranslated, a language or document name that differs. A plain record that check prints
// (as text, or as a JSON record whose fields other reports may extend) and import weighs.
// Every text a finding shows is composed here, so that check and import say the same.
#pragma once

#include <cstddef>
#include <string>

struct CT_XliffFinding {
    enum et_Kind {
        e_Unreadable,      // the unit's content cannot be read (co_Detail says why)
        e_CodeMissing,     // co_Code: a code of the source the target lacks
        e_CodeExtra,       // a code of the target the source lacks
        e_CodeTwice,       // a code the target has more often than its source
        e_CodeOutOfPlace,  // a paired code the target closes out of order
        e_UnknownUnit,     // an id the export never wrote for the story
        e_DuplicateUnit,   // an id seen before (co_Detail: the line where it was first)
        e_UnknownStory,    // a unit of a story the document lacks
        e_SourceDiffers,   // co_Detail: the unit's source; co_Document: the document's text
        e_MissingUnit,     // a paragraph the file has no unit for: it keeps the document's text
        e_Untranslated,
        e_Review,          // translated, in a state that asks for review (co_Detail)
        e_SourceLanguage,  // co_Detail: the file's; co_Document: the document's
        e_TargetLanguage,  // co_Detail: what is wrong with it
        e_Original,        // co_Detail: the document a <file> names
    };
    // What a finding does to an import: refuses it; refuses it unless differences are
    // accepted (the unit is then left out); names an untranslated paragraph (refuses it
    // under --require-translated); or only tells.
    enum et_Weight { e_Error, e_Difference, e_NotTranslated, e_Note };

    et_Kind eo_Kind = e_Unreadable;
    std::string co_Story;    // the story's key, empty for a finding about the whole file
    std::string co_Unit;     // the unit's id, empty for a finding about a story or the file
    std::string co_Code;     // the code as the tagged form writes it ("<g3>"), for code findings
    std::size_t n_Line = 0;  // the line of the XLIFF file, 0 when not known
    std::string co_Detail;
    std::string co_Document;

    et_Weight eo_Weight() const;
    // The kind as a JSON record names it ("code-missing", "untranslated", ...).
    const char* pc_KindName() const;
    // What is wrong, without file, line or unit.
    std::string co_What() const;
    // What accepting a difference does with the unit ("left out", ...).
    const char* pc_WhenAccepted() const;
    // The whole line a user reads: "FILE:LINE: story K, unit U: WHAT".
    std::string co_Text(const std::string& co_File) const;
};
