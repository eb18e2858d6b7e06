#include "platform/host/idml/ct_idml_story_codec.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/host/idml/ct_idml_story_analysis.h"
#include "platform/host/idml/ct_idml_story_builder.h"
#include "platform/host/idml/ct_idml_story_elements.h"
#include "platform/host/idml/ct_idml_story_plain_text.h"
#include "platform/host/idml/ct_idml_story_reader.h"

namespace {
bool b_IsText(const pugi::xml_node& co_Child) {
    switch (co_Child.type()) {
        case pugi::node_element:
            return CT_IdmlStoryElements::seo_Role(co_Child) != et_IdmlRole::e_Setting;
        case pugi::node_pi:
        case pugi::node_comment:
            return true;
        default:
            return false;
    }
}

// Moves the new text to where the old text began, then removes the old text with the
// indentation between its parts.
void v_Replace(pugi::xml_node co_Story, pugi::xml_node co_New) {
    std::vector<pugi::xml_node> co_old;
    for (pugi::xml_node co_child = co_Story.first_child(); co_child != co_New;
         co_child = co_child.next_sibling()) {
        if (b_IsText(co_child) || (!co_old.empty() && co_child.type() == pugi::node_pcdata)) {
            co_old.push_back(co_child);
        }
    }
    while (!co_old.empty() && !b_IsText(co_old.back())) {
        co_old.pop_back();
    }
    pugi::xml_node co_place = co_old.empty() ? co_New : co_old.front();
    while (pugi::xml_node co_child = co_New.first_child()) {
        co_Story.insert_move_before(co_child, co_place);
    }
    for (const pugi::xml_node& co_child : co_old) {
        co_Story.remove_child(co_child);
    }
    co_Story.remove_child(co_New);
}
}  // namespace

std::string CT_IdmlStoryCodec::s_Export(const pugi::xml_node& co_Story,
                                        const CT_IdmlStoryOptions& co_Options) {
    return CT_IdmlStoryAnalysis(co_Story, co_Options).s_TakeContent();
}

std::string CT_IdmlStoryCodec::s_ExportStart(const pugi::xml_node& co_Story,
                                             const CT_IdmlStoryOptions& co_Options,
                                             std::size_t n_Characters, bool& b_Cut) {
    // One character more than asked for, so that a start that holds it tells the content goes
    // on; one that does not (the text counted there was left out of the content, as a skipped
    // note's is) is no start to go by.
    CT_IdmlStoryAnalysis co_start(co_Story, co_Options, n_Characters + 1);
    std::string s_content = co_start.s_TakeContent();
    std::size_t n_bytes = CT_IdmlStoryPlainText::sn_PrefixBytes(s_content, n_Characters);
    if (co_start.b_Started() &&
        CT_IdmlStoryPlainText::sn_PrefixBytes(s_content, 1, n_bytes) == n_bytes) {
        s_content = s_Export(co_Story, co_Options);
        n_bytes = CT_IdmlStoryPlainText::sn_PrefixBytes(s_content, n_Characters);
    }
    b_Cut = CT_IdmlStoryPlainText::sb_KeepBytes(s_content, n_bytes);
    return s_content;
}

bool CT_IdmlStoryCodec::sb_IsNoteCode(const pugi::xml_node& co_Story, unsigned n_Number,
                                      const CT_IdmlStoryOptions& co_Options) {
    const CT_IdmlStoryAnalysis co_analysis(co_Story, co_Options);
    const std::vector<CT_IdmlStoryCode>& co_codes = co_analysis.cco_Codes();
    return n_Number < co_codes.size() && co_codes[n_Number].b_IsNote();
}

bool CT_IdmlStoryCodec::sb_IsUnchanged(const pugi::xml_node& co_Story, std::string_view co_Content,
                                       const CT_IdmlStoryOptions& co_Options) {
    CT_IdmlStoryOptions co_options = co_Options;
    co_options.b_SkipNotes = false;
    return sb_IsUnchanged(CT_IdmlStoryAnalysis(co_Story, co_options), co_Story, co_Content,
                          co_options);
}

bool CT_IdmlStoryCodec::sb_HasNotes(const std::vector<CT_IdmlStoryCodeInfo>& co_Codes) {
    return std::any_of(co_Codes.begin(), co_Codes.end(), [](const CT_IdmlStoryCodeInfo& co_Code) {
        return co_Code.eo_Kind == CT_IdmlStoryCodeInfo::et_Kind::e_NoteOpen ||
               co_Code.eo_Kind == CT_IdmlStoryCodeInfo::et_Kind::e_Note;
    });
}

// co_Kept: the story's analysis with notes kept, under co_Kept's options otherwise.
bool CT_IdmlStoryCodec::sb_IsUnchanged(const CT_IdmlStoryAnalysis& co_Kept,
                                       const pugi::xml_node& co_Story, std::string_view co_Content,
                                       const CT_IdmlStoryOptions& co_KeptOptions) {
    if (co_Content == co_Kept.cco_Content()) {
        return true;
    }
    bool b_notes = false;
    for (const CT_IdmlStoryCode& co_code : co_Kept.cco_Codes()) {
        b_notes = b_notes || co_code.b_IsNote();
    }
    CT_IdmlStoryOptions co_options = co_KeptOptions;
    co_options.b_SkipNotes = true;
    return b_notes && co_Content == CT_IdmlStoryAnalysis(co_Story, co_options).cco_Content();
}

namespace {
using et_Info = CT_IdmlStoryCodeInfo::et_Kind;

et_Info eo_InfoKind(const CT_IdmlStoryCode& co_Code, const CT_IdmlStoryEvent& co_Event) {
    bool b_note = co_Event.eo_Kind == et_IdmlEvent::e_NoteOpen ||
                  co_Event.eo_Kind == et_IdmlEvent::e_NoteClose;
    switch (co_Code.eo_Kind) {
        case et_IdmlCode::e_Format:
            return et_Info::e_Format;
        case et_IdmlCode::e_Change:
            return et_Info::e_Change;
        case et_IdmlCode::e_Object:
            return et_Info::e_Object;
        case et_IdmlCode::e_Open:
            return b_note ? et_Info::e_NoteOpen : et_Info::e_WrapOpen;
        case et_IdmlCode::e_Close:
            return b_note ? et_Info::e_NoteClose : et_Info::e_WrapClose;
        case et_IdmlCode::e_TableOpen:
            return et_Info::e_TableOpen;
        case et_IdmlCode::e_Cell:
            return et_Info::e_Cell;
        case et_IdmlCode::e_TableClose:
            return et_Info::e_TableClose;
        case et_IdmlCode::e_Note:
            return et_Info::e_Note;
        default:
            return et_Info::e_None;
    }
}

// The name a style reference shows: "CharacterStyle/Emphasis" is "Emphasis", "$ID/" aside,
// and a character the reference escapes ("%3a") is itself again.
std::string s_StyleName(const char* pc_Reference) {
    std::string s_name;
    const char* pc_slash = std::strchr(pc_Reference, '/');
    for (const char* pc = pc_slash != nullptr ? pc_slash + 1 : pc_Reference; *pc != '\0'; ++pc) {
        unsigned n_char = 0;
        if (*pc == '%' && std::isxdigit(static_cast<unsigned char>(pc[1])) &&
            std::isxdigit(static_cast<unsigned char>(pc[2])) &&
            std::sscanf(pc + 1, "%2x", &n_char) == 1) {
            s_name += static_cast<char>(n_char);
            pc += 2;
        } else {
            s_name += *pc;
        }
    }
    if (s_name.compare(0, 4, "$ID/") == 0) {
        s_name.erase(0, 4);
    }
    return s_name.find("[No character style]") == std::string::npos ? s_name : std::string();
}

// A range's setting as an attribute or, failing that, as a property element's text.
std::string s_Setting(const pugi::xml_node& co_Range, const char* pc_Name) {
    const pugi::xml_attribute co_attribute = co_Range.attribute(pc_Name);
    if (co_attribute) {
        return co_attribute.value();
    }
    return co_Range.child("Properties").child(pc_Name).text().get();
}

// What a reader sees of a format code's range, set against the paragraph's own text: the
// paragraph the event stands in is the one its flow's breaks before it close.
void v_DescribeFormat(const CT_IdmlStoryAnalysis& co_Analysis, const CT_IdmlStoryEvent& co_Event,
                      std::size_t n_Event, CT_IdmlStoryCodeInfo& co_Info) {
    const CT_IdmlStoryFlow& co_flow = co_Analysis.cco_Flows()[co_Event.n_Flow];
    const std::size_t n_paragraph = static_cast<std::size_t>(
        std::lower_bound(co_flow.co_Breaks.begin(), co_flow.co_Breaks.end(), n_Event) -
        co_flow.co_Breaks.begin());
    co_Info.co_Look = CT_IdmlStoryRangeKeys::ss_Look(co_Event.co_Csr);
    co_Info.co_Look.shrink_to_fit();  // kept with every story's codes until the export ends
    co_Info.b_LooksAsParagraph =
        n_paragraph < co_flow.co_Paragraphs.size() &&
        CT_IdmlStoryRangeKeys::ss_Look(co_flow.co_Paragraphs[n_paragraph].co_BaseCsr) ==
            co_Info.co_Look;
    co_Info.co_Name = s_StyleName(co_Event.co_Csr.attribute("AppliedCharacterStyle").value());
    co_Info.co_FontStyle = s_Setting(co_Event.co_Csr, "FontStyle");
    co_Info.b_Underline = s_Setting(co_Event.co_Csr, "Underline") == "true";
}

CT_IdmlStoryCodeInfo co_InfoOf(const CT_IdmlStoryAnalysis& co_Analysis, std::size_t n_Code) {
    const CT_IdmlStoryCode& co_Code = co_Analysis.cco_Codes()[n_Code];
    const CT_IdmlStoryEvent& co_Event = co_Analysis.cco_Events()[co_Code.n_Event];
    CT_IdmlStoryCodeInfo co_info;
    co_info.eo_Kind = eo_InfoKind(co_Code, co_Event);
    const pugi::xml_node& co_node = co_Event.co_Node;
    // A formatting run's event may be its text: its element is not named from the node, whose
    // text a string made first and then emptied would keep the room of until export ends.
    if (co_info.eo_Kind == et_Info::e_Format || co_info.eo_Kind == et_Info::e_Change) {
        co_info.co_Element = co_Code.eo_Kind == et_IdmlCode::e_Change ? "Change" : "";
    } else {
        co_info.co_Element = co_node.name();
        if (co_node.type() != pugi::node_element) {
            co_info.co_Element += std::string(" ") + co_node.value();
        }
    }
    if (co_info.eo_Kind == et_Info::e_Format) {
        v_DescribeFormat(co_Analysis, co_Event, co_Code.n_Event, co_info);
    } else if (co_info.eo_Kind == et_Info::e_WrapClose) {
        co_info.n_Partner = co_Code.n_Partner;
    } else if (co_info.eo_Kind == et_Info::e_WrapOpen) {
        co_info.co_Name = s_StyleName(co_node.attribute("MarkupTag").value());
    }
    long i_column = 0;
    long i_row = 0;
    if (co_info.eo_Kind == et_Info::e_Cell &&
        std::sscanf(co_node.attribute("Name").value(), "%ld:%ld", &i_column, &i_row) == 2 &&
        i_column >= 0 && i_row >= 0) {
        co_info.n_Row = static_cast<unsigned>(i_row) + 1;
        co_info.n_Column = static_cast<unsigned>(i_column) + 1;
    }
    return co_info;
}
}  // namespace

std::string CT_IdmlStoryCodec::s_Export(const pugi::xml_node& co_Story,
                                        std::vector<CT_IdmlStoryCodeInfo>& co_Codes,
                                        const CT_IdmlStoryOptions& co_Options) {
    CT_IdmlStoryAnalysis co_analysis(co_Story, co_Options);
    sv_Describe(co_analysis, co_Options.b_SkipNotes, co_Codes);
    return co_analysis.s_TakeContent();
}

std::string CT_IdmlStoryCodec::s_Export(const CT_IdmlStoryAnalysis& co_Kept,
                                        std::vector<CT_IdmlStoryCodeInfo>& co_Codes) {
    sv_Describe(co_Kept, false, co_Codes);
    return co_Kept.cco_Content();
}

void CT_IdmlStoryCodec::sv_Describe(const CT_IdmlStoryAnalysis& co_Analysis, bool b_SkipNotes,
                                    std::vector<CT_IdmlStoryCodeInfo>& co_Codes) {
    const std::vector<CT_IdmlStoryCode>& co_codes = co_Analysis.cco_Codes();
    co_Codes.assign(1, CT_IdmlStoryCodeInfo());
    for (std::size_t n = 1; n < co_codes.size(); ++n) {
        co_Codes.push_back(co_InfoOf(co_Analysis, n));
    }
    // A line ends at every break and flow end that export writes: a note left out writes none.
    std::vector<std::size_t> co_paragraph(co_Analysis.cco_Flows().size(), 0);
    for (const CT_IdmlStoryEvent& co_event : co_Analysis.cco_Events()) {
        if (co_event.eo_Kind != et_IdmlEvent::e_Break &&
            co_event.eo_Kind != et_IdmlEvent::e_FlowEnd) {
            continue;
        }
        const CT_IdmlStoryFlow& co_flow = co_Analysis.cco_Flows()[co_event.n_Flow];
        const std::size_t n_paragraph = co_paragraph[co_event.n_Flow]++;
        if ((b_SkipNotes && std::strcmp(co_flow.co_Root.name(), "Note") == 0) ||
            n_paragraph >= co_flow.co_Paragraphs.size()) {
            continue;
        }
        co_Codes[0].co_ParagraphStyles.push_back(s_StyleName(
            co_flow.co_Paragraphs[n_paragraph].co_Psr.attribute("AppliedParagraphStyle").value()));
    }
}

bool CT_IdmlStoryCodec::b_PlainText(const pugi::xml_node& co_Story, std::string& co_Text,
                                    std::size_t n_Limit, bool b_Preview,
                                    const CT_IdmlStoryOptions& co_Options) {
    return CT_IdmlStoryPlainText::sb_Extract(s_Export(co_Story, co_Options), co_Text, n_Limit,
                                             b_Preview);
}

void CT_IdmlStoryCodec::v_Import(pugi::xml_node co_Story, std::string_view co_Content,
                                 const CT_String& co_Key, const CT_IdmlStoryOptions& co_Options) {
    sb_Import(co_Story, co_Content, co_Key, co_Options);
}

bool CT_IdmlStoryCodec::sb_Import(pugi::xml_node co_Story, std::string_view co_Content,
                                  const CT_String& co_Key, const CT_IdmlStoryOptions& co_Options) {
    return sb_Import(co_Story, co_Content, co_Key, co_Options, nullptr);
}

bool CT_IdmlStoryCodec::sb_Import(pugi::xml_node co_Story, std::string_view co_Content,
                                  const CT_String& co_Key, const CT_IdmlStoryOptions& co_Options,
                                  std::string* pco_Exported) {
    CT_IdmlStoryOptions co_kept = co_Options;
    co_kept.b_SkipNotes = false;
    CT_IdmlStoryAnalysis co_analysis(co_Story, co_kept);
    return sb_Import(co_analysis, co_Story, co_Content, co_Key, co_kept, pco_Exported);
}

bool CT_IdmlStoryCodec::sb_Import(CT_IdmlStoryAnalysis& co_Kept, pugi::xml_node co_Story,
                                  std::string_view co_Content, const CT_String& co_Key,
                                  const CT_IdmlStoryOptions& co_Options,
                                  std::string* pco_Exported) {
    CT_IdmlStoryOptions co_kept = co_Options;
    co_kept.b_SkipNotes = false;
    if (pco_Exported != nullptr) {
        *pco_Exported = co_Kept.cco_Content();
    }
    // Untranslated content comes back exactly as export wrote it. Rebuilding would give the
    // same text, but not the same XML: ranges that differ only in spacing would merge and
    // the indentation would go. Leaving the story alone keeps an untouched round trip exact.
    if (sb_IsUnchanged(co_Kept, co_Story, co_Content, co_kept)) {
        return false;
    }
    std::vector<CT_IdmlStoryLeaf> co_leaves;
    CT_IdmlStoryReader(co_Kept, co_Key).v_Read(co_Content, co_leaves);
    // The content is sound: only memory can fail from here. The new text grows in an element
    // of its own at the end of the story, which goes again if that happens.
    pugi::xml_node co_new = co_Story.append_child(co_Story.name());
    try {
        CT_IdmlStoryBuilder(co_Kept, co_leaves).v_Build(co_new);
    } catch (...) {
        co_Story.remove_child(co_new);
        throw;
    }
    v_Replace(co_Story, co_new);
    return true;
}
