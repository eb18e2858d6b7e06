// Turns the XML of one IDML story into the tagged content a translator edits, and rebuilds the
// story from translated content. Text and paragraphs come from the content; formatting runs and
// objects come back from the story's own XML by their code numbers. Stateless; the caller owns
// the XML documents.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>
#include <vector>

#include "platform/common/ct_string.h"
#include "platform/host/idml/ct_idml_story_code_info.h"
#include "platform/host/idml/ct_idml_story_options.h"

class CT_IdmlStoryAnalysis;

class CT_IdmlStoryCodec {
  public:
    // The tagged content of the story element (the <Story> inside Stories/Story_*.xml): UTF-8,
    // paragraphs ending in "\n", "\", "<" and ">" of the text escaped as "\\", "\<" and "\>",
    // <gN>...</gN> around formatting runs and <xN/> for objects, N unique in the story.
    // Every paragraph ends in "\n", the last one too, so a story that ends with a break ends
    // in "\n\n" and an empty story is "\n". Footnotes, notes and table cells (row by row) stand
    // where they are anchored, between <xN/> codes, their paragraphs ending the same way; a
    // note's text stands in a <gN>...</gN> of its own (a note code, see sb_IsNoteCode), or with
    // b_SkipNotes the whole note is one <xN/>. Text under hidden conditions is one <xN/>.
    static std::string s_Export(const pugi::xml_node& co_Story,
                                const CT_IdmlStoryOptions& co_Options = {});
    // What s_Export's content begins with, through its n_Characters-th character (as
    // CT_IdmlStoryPlainText counts them); b_Cut: the content goes on. A long story is analysed
    // only as far as its first paragraphs that hold so many characters.
    static std::string s_ExportStart(const pugi::xml_node& co_Story,
                                     const CT_IdmlStoryOptions& co_Options,
                                     std::size_t n_Characters, bool& b_Cut);

    // Whether code N of the story's content stands for a note: what a writer of another format
    // needs to make a note a unit of its own.
    static bool sb_IsNoteCode(const pugi::xml_node& co_Story, unsigned n_Number,
                              const CT_IdmlStoryOptions& co_Options = {});

    // Whether the content is what export writes, with notes kept or skipped (b_SkipNotes of the
    // options is not used): a file that holds other content for the story holds a translation.
    static bool sb_IsUnchanged(const pugi::xml_node& co_Story, std::string_view co_Content,
                               const CT_IdmlStoryOptions& co_Options = {});

    // Whether a story whose codes (as s_Export describes them) these are has notes, and so
    // exports otherwise with notes skipped.
    static bool sb_HasNotes(const std::vector<CT_IdmlStoryCodeInfo>& co_Codes);

    // s_Export's content with what each of its codes stands for, indexed by code number
    // (index 0 unused), so that an exchange format can tell the translator what a code is.
    static std::string s_Export(const pugi::xml_node& co_Story,
                                std::vector<CT_IdmlStoryCodeInfo>& co_Codes,
                                const CT_IdmlStoryOptions& co_Options = {});

    // The story's plain text without codes (and without the last paragraph's line end), at most
    // n_Limit code points of it into co_Text; true when the text goes on. With b_Preview, line
    // ends, tabs and U+2028 read as spaces.
    static bool b_PlainText(const pugi::xml_node& co_Story, std::string& co_Text,
                            std::size_t n_Limit, bool b_Preview,
                            const CT_IdmlStoryOptions& co_Options = {});

    // Rebuilds the story element from tagged content. Refuses content that drops an object,
    // uses an unknown code or leaves a code unbalanced, by raising e_BadContent with a text that
    // names the key and the code; the story is then left exactly as it was. Content equal to
    // s_Export's leaves the XML untouched. A flow's last line end may be missing; "\r\n" and
    // "\r" count as line ends. Only running out of memory raises anything else. A note may come
    // back as its text in its code or whole as <xN/>, however it was exported; b_SkipNotes of
    // the options is not used.
    static void v_Import(pugi::xml_node co_Story, std::string_view co_Content,
                         const CT_String& co_Key, const CT_IdmlStoryOptions& co_Options = {});
    // The same, true when the story changed (false for content that is what export writes,
    // with notes kept or skipped: such content changes nothing).
    static bool sb_Import(pugi::xml_node co_Story, std::string_view co_Content,
                          const CT_String& co_Key, const CT_IdmlStoryOptions& co_Options = {});
    // The same, first setting *pco_Exported to what s_Export gives of the story with notes
    // kept: what the import reads of the story anyway, for a caller that needs both.
    static bool sb_Import(pugi::xml_node co_Story, std::string_view co_Content,
                          const CT_String& co_Key, const CT_IdmlStoryOptions& co_Options,
                          std::string* pco_Exported);

    // A story that is exported with its codes and then takes a translation made from that
    // export is read once for both: co_Kept is its analysis with notes kept (the options'
    // b_SkipNotes false), made by the caller, who keeps it, and the tree stays as it was
    // until the import.
    static std::string s_Export(const CT_IdmlStoryAnalysis& co_Kept,
                                std::vector<CT_IdmlStoryCodeInfo>& co_Codes);
    static bool sb_Import(CT_IdmlStoryAnalysis& co_Kept, pugi::xml_node co_Story,
                          std::string_view co_Content, const CT_String& co_Key,
                          const CT_IdmlStoryOptions& co_Options, std::string* pco_Exported);

  private:
    static void sv_Describe(const CT_IdmlStoryAnalysis& co_Analysis, bool b_SkipNotes,
                            std::vector<CT_IdmlStoryCodeInfo>& co_Codes);
    // Whether the content is what export writes, with notes kept or skipped.
    static bool sb_IsUnchanged(const CT_IdmlStoryAnalysis& co_Kept, const pugi::xml_node& co_Story,
                               std::string_view co_Content,
                               const CT_IdmlStoryOptions& co_KeptOptions);
};
