#include "exchange/ct_xliff_writer.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdio>
#include <map>

#include "exchange/ct_xliff_text.h"

namespace {
using et_Token = CT_TaggedToken::et_Kind;

std::string co_Attribute(const char* pc_Name, std::string_view co_Value) {
    std::string co_out = std::string(" ") + pc_Name + "=\"";
    CT_XliffText::sv_AppendAttribute(co_Value, co_out);
    return co_out + "\"";
}

std::string co_LocationText(const std::string& co_Location) {
    if (co_Location.size() > 1 && co_Location[0] == 'P') {
        return "page " + co_Location.substr(1);
    }
    if (co_Location.size() > 1 && co_Location[0] == 'M') {
        return "master page " + co_Location.substr(1);
    }
    return co_Location == "B" ? "pasteboard" : co_Location;
}

// Something a translator can translate: a letter of any script.
bool b_HasLetter(const std::vector<CT_TaggedToken>& co_Tokens) {
    for (const CT_TaggedToken& co_token : co_Tokens) {
        const std::string& co_text = co_token.co_Text;
        int32_t i = 0;
        const int32_t i_length = static_cast<int32_t>(co_text.size());
        while (co_token.eo_Kind == et_Token::e_Text && i < i_length) {
            UChar32 c = 0;
            U8_NEXT(co_text.data(), i, i_length, c);
            if (c >= 0 && u_isUAlphabetic(c)) {
                return true;
            }
        }
    }
    return false;
}

// Paired codes that open and close in order, so that they can stand as <g> elements.
bool b_Balanced(const std::vector<CT_TaggedToken>& co_Tokens) {
    std::vector<unsigned> co_open;
    for (const CT_TaggedToken& co_token : co_Tokens) {
        if (co_token.eo_Kind == et_Token::e_Open) {
            co_open.push_back(co_token.n_Code);
        } else if (co_token.eo_Kind == et_Token::e_Close) {
            if (co_open.empty() || co_open.back() != co_token.n_Code) {
                return false;
            }
            co_open.pop_back();
        }
    }
    return co_open.empty();
}
}  // namespace

struct CT_XliffWriter::ct_Story {
    std::string co_Key;
    const CT_StoryLayout::CT_Codes* pco_Codes = nullptr;
    std::size_t n_Units = 0;
    std::size_t n_Groups = 0;
    std::map<std::string, unsigned> co_Counts;  // anchors met so far, by label
    bool b_Balanced = true;                     // of the unit being written
    unsigned n_Chars = 0;                       // character codes of the unit being written
};

CT_XliffWriter::CT_XliffWriter(const CT_Options& co_Options)
    : co_Options(co_Options), co_Splitter(co_Options.co_SourceLanguage) {
    co_Out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">\n<file";
    co_Out += co_Attribute("original", co_Options.co_Original);
    co_Out += co_Attribute("source-language", co_Options.co_SourceLanguage);
    co_Out += co_Attribute("target-language", co_Options.co_TargetLanguage);
    co_Out +=
        " datatype=\"x-idml\">\n<header><tool tool-id=\"storyport\" tool-name=\"storyport\"/>"
        "</header>\n<body>\n";
}

void CT_XliffWriter::v_AddStory(const std::string& co_Key, const std::string& co_Location,
                                std::string_view co_Content,
                                const CT_StoryLayout::CT_Codes& co_Codes) {
    const CT_StoryLayout co_layout(co_Content, co_Codes);
    ct_Story co_story;
    co_story.co_Key = co_Key;
    co_story.pco_Codes = &co_Codes;
    ++n_Stories;
    co_Out += "<group" + co_Attribute("id", co_Key) + co_Attribute("resname", co_Key) +
              " restype=\"x-story\"><note>story " + std::to_string(n_Stories) + ", ";
    CT_XliffText::sv_AppendText(co_LocationText(co_Location), co_Out);
    co_Out += "</note>\n";
    v_Flow(co_story, co_layout.cco_Paragraphs(), "", "x-paragraph");
    co_Out += "</group>\n";
}

void CT_XliffWriter::v_Flow(ct_Story& co_Story,
                            const std::vector<CT_LayoutParagraph>& co_Paragraphs,
                            const std::string& co_Label, const std::string& co_Restype) {
    for (std::size_t n = 0; n < co_Paragraphs.size(); ++n) {
        std::string co_label = co_Label;
        if (co_Label.empty() || co_Paragraphs.size() > 1) {
            co_label +=
                (co_Label.empty() ? "" : ", ") + std::string("paragraph ") + std::to_string(n + 1);
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
    const std::string co_id = co_Story.co_Key + ".a" + std::to_string(++co_Story.n_Groups);
    co_Out += "<group" + co_Attribute("id", co_id) + co_Attribute("resname", co_name) +
              co_Attribute("restype", "x-" + co_Anchor.co_Label) +
              co_Attribute("extradata", std::to_string(co_Anchor.n_Open) + " " +
                                            std::to_string(co_Anchor.n_Close)) +
              "><note>";
    CT_XliffText::sv_AppendText(co_name, co_Out);
    co_Out += "</note>\n";
    for (const CT_LayoutFlow& co_flow : co_Anchor.co_Flows) {
        if (!co_Anchor.b_Table) {
            v_Flow(co_Story, co_flow.co_Paragraphs, co_name, "x-" + co_Anchor.co_Label);
            continue;
        }
        const std::string co_cell = co_name + ", row " + std::to_string(co_flow.n_Row) +
                                    ", column " + std::to_string(co_flow.n_Column);
        co_Out += "<group" +
                  co_Attribute("id", co_Story.co_Key + ".a" + std::to_string(++co_Story.n_Groups)) +
                  co_Attribute("resname", co_cell) + " restype=\"x-cell\"" +
                  co_Attribute("extradata", std::to_string(co_flow.n_Code)) + ">\n";
        v_Flow(co_Story, co_flow.co_Paragraphs, co_cell, "x-cell");
        co_Out += "</group>\n";
    }
    co_Out += "</group>\n";
}

void CT_XliffWriter::v_Unit(ct_Story& co_Story, const CT_LayoutParagraph& co_Paragraph,
                            const std::string& co_Label, const std::string& co_Restype) {
    ++n_Units_;
    const std::vector<CT_TaggedToken>& co_tokens = co_Paragraph.co_Tokens;
    const bool b_translate = b_HasLetter(co_tokens);
    co_Story.b_Balanced = b_Balanced(co_tokens);
    co_Out += "<trans-unit" +
              co_Attribute("id", co_Story.co_Key + "." + std::to_string(++co_Story.n_Units)) +
              co_Attribute("restype", co_Restype) + (b_translate ? "" : " translate=\"no\"") +
              " xml:space=\"preserve\">\n<source>";
    co_Story.n_Chars = 0;
    v_Inline(co_tokens, co_Story, false);
    co_Out += "</source>\n";
    if (b_translate && co_Story.b_Balanced) {
        const std::size_t n_start = co_Out.size();
        co_Out += "<seg-source>";
        co_Story.n_Chars = 0;
        v_Inline(co_tokens, co_Story, true);
        co_Out += "</seg-source>\n";
        if (co_Options.b_Targets) {
            const std::string co_segments =
                co_Out.substr(n_start + 12, co_Out.size() - n_start - 26);
            co_Out += "<target state=\"needs-translation\">" + co_segments + "</target>\n";
        }
    } else if (co_Options.b_Targets) {
        co_Out += "<target state=\"needs-translation\">";
        co_Story.n_Chars = 0;
        v_Inline(co_tokens, co_Story, false);
        co_Out += "</target>\n";
    }
    co_Out += "<note>";
    CT_XliffText::sv_AppendText(co_Label, co_Out);
    co_Out += "</note>\n</trans-unit>\n";
}

void CT_XliffWriter::v_Inline(const std::vector<CT_TaggedToken>& co_Tokens,
                              const ct_Story& co_Story, bool b_Segmented) {
    if (b_Segmented) {
        std::size_t n_mid = 0;
        for (const CT_SentenceSplitter::CT_Piece& co_piece : co_Splitter.co_Split(co_Tokens)) {
            if (co_piece.b_Segment) {
                co_Out += "<mrk mtype=\"seg\" mid=\"" + std::to_string(++n_mid) + "\">";
            }
            v_Inline(co_piece.co_Tokens, co_Story, false);
            if (co_piece.b_Segment) {
                co_Out += "</mrk>";
            }
        }
        return;
    }
    ct_Story& co_story = const_cast<ct_Story&>(co_Story);
    for (const CT_TaggedToken& co_token : co_Tokens) {
        const CT_ExchangeCode* pco_code = nullptr;
        auto co_found = co_Story.pco_Codes->find(co_token.n_Code);
        if (co_token.eo_Kind != et_Token::e_Text && co_found != co_Story.pco_Codes->end()) {
            pco_code = &co_found->second;
        }
        std::string co_details;
        if (pco_code != nullptr && !pco_code->co_Ctype.empty()) {
            co_details += co_Attribute("ctype", pco_code->co_Ctype);
        }
        if (pco_code != nullptr && !pco_code->co_Equiv.empty()) {
            co_details += co_Attribute("equiv-text", pco_code->co_Equiv);
        }
        const std::string co_id = "id=\"" + std::to_string(co_token.n_Code) + "\"";
        switch (co_token.eo_Kind) {
            case et_Token::e_Open:
                co_Out += (co_Story.b_Balanced ? "<g " : "<bx ") + co_id + co_details +
                          (co_Story.b_Balanced ? ">" : "/>");
                break;
            case et_Token::e_Close:
                co_Out += co_Story.b_Balanced ? "</g>" : "<ex " + co_id + "/>";
                break;
            case et_Token::e_Standalone:
                co_Out += "<x " + co_id + co_details + "/>";
                break;
            case et_Token::e_Text: {
                std::string_view co_text = co_token.co_Text;
                while (!co_text.empty()) {
                    const std::size_t n_carried = CT_XliffText::sn_Carried(co_text);
                    CT_XliffText::sv_AppendText(co_text.substr(0, n_carried), co_Out);
                    co_text.remove_prefix(n_carried);
                    if (co_text.empty()) {
                        break;
                    }
                    std::size_t n_length = 0;
                    char ac_code[16];
                    std::snprintf(
                        ac_code, sizeof ac_code, "U+%04X",
                        static_cast<unsigned>(CT_XliffText::sc_Refused(co_text, n_length)));
                    co_Out += "<x id=\"c" + std::to_string(++co_story.n_Chars) +
                              "\" ctype=\"x-character\" equiv-text=\"" + ac_code + "\"/>";
                    co_text.remove_prefix(n_length);
                }
                break;
            }
            case et_Token::e_LineEnd:
                break;
        }
    }
}

std::string CT_XliffWriter::s_Finish() {
    co_Out += "</body>\n</file>\n</xliff>\n";
    return std::move(co_Out);
}
