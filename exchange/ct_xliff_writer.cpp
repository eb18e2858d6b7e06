#include "exchange/ct_xliff_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>

#include "exchange/ct_word_count.h"
#include "exchange/ct_xliff_text.h"
#include "exchange/ct_xliff_unit_codes.h"

namespace {
using et_Token = CT_TaggedToken::et_Kind;

std::string co_LocationText(std::string_view co_Location) {
    if (co_Location.size() > 1 && co_Location[0] == 'P') {
        return "page " + std::string(co_Location.substr(1));
    }
    if (co_Location.size() > 1 && co_Location[0] == 'M') {
        return "master page " + std::string(co_Location.substr(1));
    }
    return co_Location == "B" ? "pasteboard" : std::string(co_Location);
}

// ' name="value"', the value escaped: to the file, or to the attributes a code keeps.
void v_AppendAttribute(const char* pc_Name, std::string_view co_Value, std::string& co_Out) {
    co_Out += ' ';
    co_Out += pc_Name;
    co_Out += "=\"";
    CT_XliffText::sv_AppendAttribute(co_Value, co_Out);
    co_Out += '"';
}

// Something a translator can translate: a letter of any script in its text.
bool b_HasLetter(const std::vector<CT_TaggedToken>& co_Tokens) {
    return std::any_of(co_Tokens.begin(), co_Tokens.end(), [](const CT_TaggedToken& co_Token) {
        return co_Token.eo_Kind == et_Token::e_Text && CT_WordCount::sb_HasLetter(co_Token.co_Text);
    });
}

// Numbers: digits without a letter. Nothing to translate as they stand, but a translator may
// write them the way the target language does (5.88 is 5,88 in French).
bool b_HasDigit(const std::vector<CT_TaggedToken>& co_Tokens) {
    return std::any_of(co_Tokens.begin(), co_Tokens.end(), [](const CT_TaggedToken& co_Token) {
        return co_Token.eo_Kind == et_Token::e_Text && CT_WordCount::sb_HasDigit(co_Token.co_Text);
    });
}

// Characters of text, as the capacity estimate counts them: code points, codes aside.
std::size_t n_TextLength(const std::vector<CT_TaggedToken>& co_Tokens) {
    std::size_t n_length = 0;
    for (const CT_TaggedToken& co_token : co_Tokens) {
        if (co_token.eo_Kind == et_Token::e_Text) {
            for (const char c_byte : co_token.co_Text) {
                n_length += (static_cast<unsigned char>(c_byte) & 0xC0) != 0x80 ? 1 : 0;
            }
        }
    }
    return n_length;
}

// The text of every unit of the paragraphs, their notes and tables included.
std::size_t n_TextLength(const std::vector<CT_LayoutParagraph>& co_Paragraphs) {
    std::size_t n_length = 0;
    for (const CT_LayoutParagraph& co_paragraph : co_Paragraphs) {
        n_length += n_TextLength(co_paragraph.co_Tokens);
        for (const CT_LayoutAnchor& co_anchor : co_paragraph.co_Anchors) {
            for (const CT_LayoutFlow& co_flow : co_anchor.co_Flows) {
                n_length += n_TextLength(co_flow.co_Paragraphs);
            }
        }
    }
    return n_length;
}

}  // namespace

struct CT_XliffWriter::ct_Story {
    std::string co_Key;
    std::string co_UnitId;  // ' id="' and the key, escaped: a unit's id goes on with its number
    const CT_StoryLayout::CT_Codes* pco_Codes = nullptr;
    std::size_t n_Units = 0;
    std::size_t n_Groups = 0;
    std::map<std::string, unsigned> co_Counts;             // anchors met so far, by label
    const std::vector<std::string>* pco_Styles = nullptr;  // by content line
    const CT_XliffUnitCodes* pco_Unit = nullptr;           // the codes of the unit being written
    unsigned n_Chars = 0;  // character codes of the unit being written
    const std::vector<std::string>* pco_Pages = nullptr;  // by content line
    double d_Room = 0;  // characters of room for each character of text; 0 for no limits
};

namespace {
// Stories are handed to a sink once this much is ready: the buffer stays small and is reused.
constexpr std::size_t kn_SinkChunk = 256 * 1024;
}  // namespace

CT_XliffWriter::CT_XliffWriter(const CT_Options& co_Options)
    : CT_XliffWriter(co_Options, CT_Sink()) {}

CT_XliffWriter::CT_XliffWriter(const CT_Options& co_Options, CT_Sink co_Sink)
    : co_Options(co_Options),
      co_Sink(std::move(co_Sink)),
      co_Splitter(co_Options.co_SourceLanguage) {
    co_Out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">\n<file";
    v_Attribute("original", co_Options.co_Original);
    v_Attribute("source-language", co_Options.co_SourceLanguage);
    v_Attribute("target-language", co_Options.co_TargetLanguage);
    co_Out +=
        " datatype=\"x-idml\">\n<header><tool tool-id=\"storyport\" tool-name=\"storyport\"/>"
        "</header>\n<body>\n";
}

void CT_XliffWriter::v_Attribute(const char* pc_Name, std::string_view co_Value) {
    v_AppendAttribute(pc_Name, co_Value, co_Out);
}

void CT_XliffWriter::v_Number(std::size_t n_Value) {
    char ac_digits[24];
    const std::to_chars_result co_end =
        std::to_chars(ac_digits, ac_digits + sizeof ac_digits, n_Value);
    co_Out.append(ac_digits, co_end.ptr);
}

std::size_t CT_XliffWriter::sn_Limit(double d_Share) {
    for (const double d_step : {10.0, 5.0}) {
        const double d_round = std::ceil(d_Share / d_step - 1e-9) * d_step;
        if (d_round <= d_Share * 1.1) {
            return static_cast<std::size_t>(d_round);
        }
    }
    return static_cast<std::size_t>(std::ceil(d_Share - 1e-9));
}

void CT_XliffWriter::v_AddStory(std::string_view co_Key, std::string_view co_Location,
                                std::string_view co_Content,
                                const CT_StoryLayout::CT_Codes& co_Codes) {
    v_AddStory(co_Key, co_Location, co_Content, co_Codes, CT_Context());
}

void CT_XliffWriter::v_AddStory(std::string_view co_Key, std::string_view co_Location,
                                std::string_view co_Content,
                                const CT_StoryLayout::CT_Codes& co_Codes,
                                const CT_Context& co_Context) {
    v_Story(n_Stories + 1, co_Key, co_Location, co_Content, co_Codes, co_Context);
    ++n_Stories;
    v_Flush();
}

CT_XliffWriter::CT_Written CT_XliffWriter::co_Write(std::size_t n_Number, std::string_view co_Key,
                                                    std::string_view co_Location,
                                                    std::string_view co_Content,
                                                    const CT_StoryLayout::CT_Codes& co_Codes,
                                                    const CT_Context& co_Context) {
    // Written where v_AddStory writes, what is there set aside meanwhile, so that both write
    // the same bytes by the same code.
    std::string co_before = std::move(co_Out);
    co_Out.clear();
    const std::size_t n_units = n_Units_;
    CT_Written co_written;
    try {
        v_Story(n_Number, co_Key, co_Location, co_Content, co_Codes, co_Context);
    } catch (...) {
        co_Out = std::move(co_before);
        n_Units_ = n_units;
        throw;
    }
    co_written.s_Bytes = std::move(co_Out);
    co_written.n_Units = n_Units_ - n_units;
    co_Out = std::move(co_before);
    n_Units_ = n_units;
    return co_written;
}

void CT_XliffWriter::v_AddWritten(const CT_Written& co_Written) {
    co_Out += co_Written.s_Bytes;
    n_Units_ += co_Written.n_Units;
    ++n_Stories;
    v_Flush();
}

void CT_XliffWriter::v_Flush() {
    if (co_Sink && co_Out.size() >= kn_SinkChunk) {
        co_Sink(co_Out);
        co_Out.clear();
    }
}

void CT_XliffWriter::v_Story(std::size_t n_Number, std::string_view co_Key,
                             std::string_view co_Location, std::string_view co_Content,
                             const CT_StoryLayout::CT_Codes& co_Codes,
                             const CT_Context& co_Context) {
    const CT_StoryLayout co_layout(co_Content, co_Codes);
    ct_Story co_story;
    co_story.co_Key = co_Key;
    co_story.co_UnitId = " id=\"";
    CT_XliffText::sv_AppendAttribute(co_Key, co_story.co_UnitId);
    co_story.pco_Codes = &co_Codes;
    co_story.pco_Styles = &co_Context.co_Styles;
    co_story.pco_Pages = &co_Context.co_Pages;
    if (co_Options.b_Limits && co_Context.n_Capacity > 0) {
        // A story whose own text already overfills the estimate has the room of its own text:
        // its designer made it fit, so the estimate was short.
        const std::size_t n_text = n_TextLength(co_layout.cco_Paragraphs());
        if (n_text > 0) {
            co_story.d_Room = static_cast<double>(std::max(co_Context.n_Capacity, n_text)) /
                              static_cast<double>(n_text);
        }
    }
    co_Out += "<group";
    v_Attribute("id", co_Key);
    v_Attribute("resname", co_Key);
    co_Out += " restype=\"x-story\"><note>story ";
    v_Number(n_Number);
    co_Out += ", ";
    CT_XliffText::sv_AppendText(
        co_Context.co_Where.empty() ? co_LocationText(co_Location) : co_Context.co_Where, co_Out);
    co_Out += "</note>\n";
    v_Flow(co_story, co_layout.cco_Paragraphs(), "", "x-paragraph");
    co_Out += "</group>\n";
}

void CT_XliffWriter::v_Flow(ct_Story& co_Story,
                            const std::vector<CT_LayoutParagraph>& co_Paragraphs,
                            const std::string& co_Label, const std::string& co_Restype) {
    std::string co_label;
    for (std::size_t n = 0; n < co_Paragraphs.size(); ++n) {
        co_label = co_Label;
        if (co_Label.empty() || co_Paragraphs.size() > 1) {
            co_label += co_Label.empty() ? "paragraph " : ", paragraph ";
            co_label += std::to_string(n + 1);
        }
        v_Unit(co_Story, co_Paragraphs[n], co_label, co_Restype);
        for (const CT_LayoutAnchor& co_anchor : co_Paragraphs[n].co_Anchors) {
            v_Anchor(co_Story, co_anchor);
        }
    }
}

// A group that says which codes the anchor stands between (extradata "open close"), with a
// group per cell (extradata: the cell's code) for a table.
void CT_XliffWriter::v_Anchor(ct_Story& co_Story, const CT_LayoutAnchor& co_Anchor) {
    const std::string co_name =
        co_Anchor.co_Label + " " + std::to_string(++co_Story.co_Counts[co_Anchor.co_Label]);
    co_Out += "<group";
    v_Attribute("id", co_Story.co_Key);
    co_Out.insert(co_Out.size() - 1, ".a" + std::to_string(++co_Story.n_Groups));
    v_Attribute("resname", co_name);
    v_Attribute("restype", "x-" + co_Anchor.co_Label);
    v_Attribute("extradata",
                std::to_string(co_Anchor.n_Open) + " " + std::to_string(co_Anchor.n_Close));
    co_Out += "><note>";
    CT_XliffText::sv_AppendText(co_name, co_Out);
    co_Out += "</note>\n";
    for (const CT_LayoutFlow& co_flow : co_Anchor.co_Flows) {
        if (!co_Anchor.b_Table) {
            v_Flow(co_Story, co_flow.co_Paragraphs, co_name, "x-" + co_Anchor.co_Label);
            continue;
        }
        const std::string co_cell = co_name + ", row " + std::to_string(co_flow.n_Row) +
                                    ", column " + std::to_string(co_flow.n_Column);
        co_Out += "<group";
        v_Attribute("id", co_Story.co_Key);
        co_Out.insert(co_Out.size() - 1, ".a" + std::to_string(++co_Story.n_Groups));
        v_Attribute("resname", co_cell);
        co_Out += " restype=\"x-cell\" extradata=\"";
        v_Number(co_flow.n_Code);
        co_Out += "\">\n";
        v_Flow(co_Story, co_flow.co_Paragraphs, co_cell, "x-cell");
        co_Out += "</group>\n";
    }
    co_Out += "</group>\n";
}

void CT_XliffWriter::v_Unit(ct_Story& co_Story, const CT_LayoutParagraph& co_Paragraph,
                            const std::string& co_Label, const std::string& co_Restype) {
    static constexpr std::string_view kco_SegOpen = "<seg-source>";
    static constexpr std::string_view kco_SegClose = "</seg-source>\n";
    static constexpr std::string_view kco_ToDo = "<target state=\"needs-translation\">";
    // Numbers go out translatable, so that they can be localised, with their copy marked done:
    // a unit left as it is counts as translated.
    static constexpr std::string_view kco_Done = "<target state=\"translated\">";
    ++n_Units_;
    const CT_XliffUnitCodes co_codes(co_Paragraph.co_Tokens, *co_Story.pco_Codes,
                                     co_Options.b_AllCodes);
    co_Story.pco_Unit = &co_codes;
    const std::vector<CT_TaggedToken>& co_tokens = co_codes.cco_Written();
    const bool b_letter = b_HasLetter(co_tokens);
    const bool b_translate = b_letter || b_HasDigit(co_tokens);
    // A unit with nothing to translate has no target; a done target is the unit's translation,
    // which leaving targets out does not drop.
    const bool b_target = b_translate && (co_Options.b_Targets || !b_letter);
    co_Out += "<trans-unit";
    co_Out += co_Story.co_UnitId;
    co_Out += '.';
    v_Number(++co_Story.n_Units);
    co_Out += '"';
    // A name that says where the unit stands, for tools that show it beside the text.
    v_Attribute("resname", co_Story.co_Key + " " + co_Label);
    v_Attribute("restype", co_Restype);
    if (b_translate && co_Story.d_Room > 0) {
        co_Out += " maxwidth=\"";
        v_Number(sn_Limit(co_Story.d_Room * static_cast<double>(n_TextLength(co_tokens))));
        co_Out += "\" size-unit=\"char\"";
    }
    co_Out += b_translate ? " xml:space=\"preserve\">\n<source>"
                          : " translate=\"no\" xml:space=\"preserve\">\n<source>";
    co_Story.n_Chars = 0;
    const std::size_t n_source = co_Out.size();
    v_Inline(co_tokens, co_Story);
    const std::size_t n_sourceLength = co_Out.size() - n_source;
    co_Out += "</source>\n";
    if (b_translate) {
        co_Out += kco_SegOpen;
        const std::size_t n_start = co_Out.size();
        if (co_Splitter.b_OneSentence(co_tokens)) {
            // One segment of the whole source, as it was just written.
            co_Out.reserve(co_Out.size() + 2 * n_sourceLength + 128);
            co_Out += "<mrk mtype=\"seg\" mid=\"1\">";
            co_Out.append(co_Out, n_source, n_sourceLength);
            co_Out += "</mrk>";
        } else {
            co_Story.n_Chars = 0;
            std::size_t n_mid = 0;
            for (const CT_SentenceSplitter::CT_Piece& co_piece : co_Splitter.co_Split(co_tokens)) {
                if (co_piece.b_Segment) {
                    co_Out += "<mrk mtype=\"seg\" mid=\"";
                    v_Number(++n_mid);
                    co_Out += "\">";
                }
                v_Inline(co_piece.co_Tokens, co_Story);
                if (co_piece.b_Segment) {
                    co_Out += "</mrk>";
                }
            }
        }
        const std::size_t n_length = co_Out.size() - n_start;
        co_Out += kco_SegClose;
        if (b_target) {
            // The target copies the segments just written.
            const std::string_view co_target = b_letter ? kco_ToDo : kco_Done;
            co_Out.reserve(co_Out.size() + co_target.size() + n_length + 10);
            co_Out += co_target;
            co_Out.append(co_Out, n_start, n_length);
            co_Out += "</target>\n";
        }
    }
    co_Out += "<note>";
    CT_XliffText::sv_AppendText(co_Label, co_Out);
    const std::vector<std::string>& co_pages = *co_Story.pco_Pages;
    if (!co_pages.empty()) {
        const std::string& s_page = co_pages[std::min(co_Paragraph.n_Line, co_pages.size() - 1)];
        if (!s_page.empty()) {
            co_Out += ", ";
            CT_XliffText::sv_AppendText(s_page, co_Out);
        }
    }
    const std::vector<std::string>& co_styles = *co_Story.pco_Styles;
    if (co_Paragraph.n_Line < co_styles.size() && !co_styles[co_Paragraph.n_Line].empty()) {
        co_Out += ", style ";
        CT_XliffText::sv_AppendText(co_styles[co_Paragraph.n_Line], co_Out);
    }
    co_Out += "</note>\n</trans-unit>\n";
}

void CT_XliffWriter::v_Inline(const std::vector<CT_TaggedToken>& co_Tokens, ct_Story& co_Story) {
    for (const CT_TaggedToken& co_token : co_Tokens) {
        if (co_token.eo_Kind == et_Token::e_Text) {
            v_Text(co_token.co_Text, co_Story);
        } else if (co_token.eo_Kind != et_Token::e_LineEnd) {
            v_Code(co_token, co_Story);
        }
    }
}

void CT_XliffWriter::v_Code(const CT_TaggedToken& co_Token, const ct_Story& co_Story) {
    using et_Element = CT_XliffUnitCodes::et_Element;
    if (co_Token.eo_Kind == et_Token::e_Close) {
        co_Out += "</g>";
        return;
    }
    const CT_XliffUnitCodes::CT_Element& co_element =
        co_Story.pco_Unit->cco_Element(co_Token.n_Code);
    const et_Element eo_element = co_element.eo_Element;
    co_Out += eo_element == et_Element::e_G    ? "<g id=\""
              : eo_element == et_Element::e_X  ? "<x id=\""
              : eo_element == et_Element::e_Bx ? "<bx id=\""
                                               : "<ex id=\"";
    v_Number(co_element.n_Id);
    co_Out += '"';
    if (co_element.n_Rid != 0) {
        co_Out += " rid=\"";
        v_Number(co_element.n_Rid);
        co_Out += '"';
    }
    // An <ex/> says nothing of its own: its <bx/> says what the pair is.
    if (co_element.pco_Code != nullptr && eo_element != et_Element::e_Ex) {
        // Most codes say the same as the one before (formatting runs): that is written once.
        const CT_ExchangeCode& co_code = *co_element.pco_Code;
        if (co_code.co_Ctype != co_LastCtype || co_code.co_Equiv != co_LastEquiv) {
            co_LastCtype = co_code.co_Ctype;
            co_LastEquiv = co_code.co_Equiv;
            co_LastAttributes.clear();
            if (!co_code.co_Ctype.empty()) {
                v_AppendAttribute("ctype", co_code.co_Ctype, co_LastAttributes);
            }
            if (!co_code.co_Equiv.empty()) {
                v_AppendAttribute("equiv-text", co_code.co_Equiv, co_LastAttributes);
            }
        }
        co_Out += co_LastAttributes;
    }
    co_Out += eo_element == et_Element::e_G ? ">" : "/>";
}

// Characters XML cannot carry become codes that say which character they stand for.
void CT_XliffWriter::v_Text(std::string_view co_Text, ct_Story& co_Story) {
    while (!co_Text.empty()) {
        co_Text.remove_prefix(CT_XliffText::sn_AppendCarried(co_Text, co_Out));
        if (co_Text.empty()) {
            break;
        }
        std::size_t n_length = 0;
        char ac_code[16];
        std::snprintf(ac_code, sizeof ac_code, "U+%04X",
                      static_cast<unsigned>(CT_XliffText::sc_Refused(co_Text, n_length)));
        co_Out += "<x id=\"c";
        v_Number(++co_Story.n_Chars);
        co_Out += "\" ctype=\"x-character\" equiv-text=\"";
        co_Out += ac_code;
        co_Out += "\"/>";
        co_Text.remove_prefix(n_length);
    }
}

std::string CT_XliffWriter::s_Finish() {
    co_Out += "</body>\n</file>\n</xliff>\n";
    if (co_Sink) {
        co_Sink(co_Out);
        co_Out.clear();
    }
    return std::move(co_Out);
}
