#include "exchange/ct_xliff_reader.h"

#include <pugixml.hpp>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <mutex>
#include <unordered_set>
#include <utility>

#include "exchange/ct_xliff_unit_reader.h"
#include "exchange/ct_xliff_unit_spans.h"
#include "platform/common/ct_file_bytes.h"
#include "platform/common/ct_shown.h"
#include "platform/common/ct_utf8.h"
#include "platform/common/ct_work_pool.h"
#include "platform/common/ct_xml_depth.h"

namespace {
// Whitespace between elements is text of its own: a unit's may be all of its content.
constexpr unsigned kn_Parse = pugi::parse_default | pugi::parse_ws_pcdata;

bool b_Is(const pugi::xml_node& co_Node, const char* pc_Name) {
    return CT_XliffUnitReader::sb_IsElement(co_Node, pc_Name);
}

// Where each line of the file begins, to name the line of an offset.
class CT_Lines {
  public:
    CT_Lines() = default;
    explicit CT_Lines(std::string_view co_Bytes) { v_Read(co_Bytes, 0); }
    // The lines of the file's bytes from the offset on, read after every byte before it.
    void v_Read(std::string_view co_Stretch, std::size_t n_Offset) {
        for (std::size_t n = co_Stretch.find('\n'); n != std::string_view::npos;
             n = co_Stretch.find('\n', n + 1)) {
            co_Ends.push_back(n_Offset + n);
        }
    }
    std::size_t n_Line(std::ptrdiff_t n_Offset) const {
        if (n_Offset < 0) {
            return 0;
        }
        return 1 + static_cast<std::size_t>(std::lower_bound(co_Ends.begin(), co_Ends.end(),
                                                             static_cast<std::size_t>(n_Offset)) -
                                            co_Ends.begin());
    }

  private:
    std::vector<std::size_t> co_Ends;
};

[[noreturn]] void v_NotWellFormed(std::string_view co_Bytes, std::ptrdiff_t n_Offset,
                                  const char* pc_What) {
    std::size_t n_line = 1;
    std::size_t n_column = 1;
    const std::size_t n_end =
        std::min(static_cast<std::size_t>(std::max<std::ptrdiff_t>(n_Offset, 0)), co_Bytes.size());
    for (std::size_t n = 0; n < n_end; ++n) {
        if (co_Bytes[n] == '\n') {
            ++n_line;
            n_column = 1;
        } else if ((static_cast<unsigned char>(co_Bytes[n]) & 0xC0) != 0x80) {
            ++n_column;
        }
    }
    throw CT_XliffReader::CT_Refusal("not well-formed XML at line " + std::to_string(n_line) +
                                     ", column " + std::to_string(n_column) + ": " + pc_What);
}

void v_CheckVersion(const pugi::xml_node& co_Root) {
    if (!b_Is(co_Root, "xliff")) {
        throw CT_XliffReader::CT_Refusal(std::string("not an XLIFF file: its root element is <") +
                                         CT_Shown::ss_Value(co_Root.name()) + ">");
    }
    // Values of a stranger's file, cut to a readable length for the messages.
    const std::string co_version = CT_Shown::ss_Value(co_Root.attribute("version").value());
    std::string co_space;
    for (pugi::xml_attribute co_attribute : co_Root.attributes()) {
        if (std::strncmp(co_attribute.name(), "xmlns", 5) == 0 &&
            std::strstr(co_attribute.value(), "xliff:document:2.") != nullptr) {
            co_space = CT_Shown::ss_Value(co_attribute.value());
        }
    }
    if (co_version.compare(0, 1, "2") == 0) {
        throw CT_XliffReader::CT_Refusal("XLIFF " + co_version +
                                         " is not read: save the translation as XLIFF 1.2");
    }
    if (co_version != "1.2" && co_version != "1.1" && co_version != "1.0") {
        throw CT_XliffReader::CT_Refusal(
            "XLIFF version \"" + co_version + "\" is not read: save the translation as XLIFF 1.2" +
            (co_space.empty() ? std::string() : " (the file's namespace is " + co_space + ")"));
    }
    if (!co_space.empty()) {
        throw CT_XliffReader::CT_Refusal(
            "the file says it is XLIFF " + co_version + " but its namespace is XLIFF 2's (" +
            co_space + "): give it the namespace urn:oasis:names:tc:xliff:document:1.2");
    }
}

// A reference of the file's text that no document can take, with its offset.
struct CT_BadReference {
    std::size_t n_Offset;
    std::string co_What;
};

bool b_StartsWith(std::string_view co_Text, std::size_t n_At, std::string_view co_Start) {
    return co_Text.compare(n_At, co_Start.size(), co_Start) == 0;
}

// The parser makes every character reference into bytes (a reference to NUL ends the text
// there) and leaves an entity it does not know as its literal text: the references are read
// here, in the file's own bytes, outside comments, CDATA sections, processing instructions
// and the document type.
std::vector<CT_BadReference> co_BadReferences(std::string_view co_Bytes) {
    std::vector<CT_BadReference> co_bad;
    if (co_Bytes.find('&') == std::string_view::npos) {
        return co_bad;
    }
    // Where references are not read: each construct starts with "<!" or "<?", which are looked
    // for by their rarer second character.
    std::vector<std::pair<std::size_t, std::size_t>> co_skipped;
    for (const char c_second : {'!', '?'}) {
        for (std::size_t n_at = co_Bytes.find(c_second, 1); n_at != std::string_view::npos;
             n_at = co_Bytes.find(c_second, n_at + 1)) {
            if (co_Bytes[n_at - 1] != '<') {
                continue;
            }
            const std::size_t n_start = n_at - 1;
            const char* pc_end = b_StartsWith(co_Bytes, n_start, "<!--")        ? "-->"
                                 : b_StartsWith(co_Bytes, n_start, "<![CDATA[") ? "]]>"
                                 : c_second == '?'                              ? "?>"
                                                                                : nullptr;
            if (pc_end == nullptr) {
                // A document type: an internal subset ends at "]>", one without at ">".
                const std::size_t n_close = co_Bytes.find('>', n_start);
                const std::size_t n_open = co_Bytes.find('[', n_start);
                pc_end = n_open < n_close ? "]>" : ">";
            }
            const std::size_t n_end = co_Bytes.find(pc_end, n_start + 2);
            n_at = n_end == std::string_view::npos ? co_Bytes.size() - 1 : n_end;
            co_skipped.emplace_back(n_start, n_at);
        }
    }
    // One construct may hold the start of another ("<?" in a comment): their union is skipped.
    std::sort(co_skipped.begin(), co_skipped.end());
    std::vector<std::pair<std::size_t, std::size_t>> co_union;
    for (const auto& co_range : co_skipped) {
        if (!co_union.empty() && co_range.first <= co_union.back().second) {
            co_union.back().second = std::max(co_union.back().second, co_range.second);
        } else {
            co_union.push_back(co_range);
        }
    }
    co_skipped = std::move(co_union);
    for (std::size_t n_at = co_Bytes.find('&'); n_at != std::string_view::npos;
         n_at = co_Bytes.find('&', n_at + 1)) {
        const auto co_after = std::upper_bound(co_skipped.begin(), co_skipped.end(),
                                               std::make_pair(n_at, std::string_view::npos));
        if (co_after != co_skipped.begin() && std::prev(co_after)->second >= n_at) {
            continue;
        }
        const std::size_t n_semicolon = co_Bytes.find(';', n_at);
        const std::string_view co_name =
            co_Bytes.substr(n_at + 1, n_semicolon == std::string_view::npos
                                          ? 0
                                          : std::min<std::size_t>(n_semicolon - n_at - 1, 64));
        if (co_name == "amp" || co_name == "lt" || co_name == "gt" || co_name == "quot" ||
            co_name == "apos") {
            continue;
        }
        if (!co_name.empty() && co_name[0] == '#') {
            const bool b_hex = co_name.size() > 1 && co_name[1] == 'x';
            const std::string_view co_digits = co_name.substr(b_hex ? 2 : 1);
            unsigned long n_char = 0;
            for (char c : co_digits) {
                const int i_digit = c >= '0' && c <= '9'            ? c - '0'
                                    : b_hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                                    : b_hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                                    : -1;
                n_char = i_digit < 0 || n_char > 0x10FFFF
                             ? 0x110000
                             : n_char * (b_hex ? 16 : 10) + static_cast<unsigned long>(i_digit);
            }
            if (n_char == 0) {
                co_bad.push_back({n_at, "the text holds a reference to the character NUL (&" +
                                            std::string(co_name) +
                                            ";), which no document can hold"});
            } else if (n_char > 0x10FFFF || (n_char >= 0xD800 && n_char <= 0xDFFF)) {
                co_bad.push_back({n_at, "the text holds a reference to no character (&" +
                                            std::string(co_name) +
                                            ";): a surrogate or a code past U+10FFFF"});
            }
            continue;
        }
        co_bad.push_back(
            {n_at, "the text holds the entity &" + std::string(co_name) +
                       ";, which XLIFF does not define (only &amp; &lt; &gt; &quot; &apos; are): "
                       "write its character instead"});
    }
    return co_bad;
}

// Whether a unit's texts may hold bytes the parser made of a character reference, which are not
// always UTF-8 and are then looked at.
bool b_Referring(std::string_view co_Unit) {
    return co_Unit.find("&#") != std::string_view::npos;
}

// Gives a stretch of a file's bytes back; bytes that are no file's are only kept.
CT_XliffUnitSpans::CT_Passed f_GivingBack(CT_FileBytes* pco_File) {
    return [pco_File](std::size_t n_From, std::size_t n_To) {
        if (pco_File != nullptr) {
            pco_File->v_GiveBack(n_From, n_To);
        }
    };
}

void v_Poll(const CT_XliffReader::CT_Cancel& f_Cancel) {
    if (f_Cancel && f_Cancel()) {
        throw CT_XliffReader::CT_Cancelled();
    }
}

// Every unit under the node, in file order, with its start tag's offset.
void v_CollectUnits(const pugi::xml_node& co_Node, std::vector<pugi::xml_node>& co_Units) {
    for (pugi::xml_node co_child : co_Node.children()) {
        if (b_Is(co_child, "trans-unit")) {
            co_Units.push_back(co_child);
        } else if (co_child.type() == pugi::node_element) {
            v_CollectUnits(co_child, co_Units);
        }
    }
}
// The bad references of the file go to the units they stand in; one before every unit refuses
// the file. Then a file without units is refused. co_Starts: where each unit read starts in the
// file, in file order.
void v_Finish(std::string_view co_Bytes, const std::vector<CT_BadReference>& co_References,
              const std::vector<std::size_t>& co_Starts, std::vector<CT_XliffUnit>& co_Units,
              const std::function<std::size_t(std::size_t)>& f_LineOf) {
    for (const CT_BadReference& co_reference : co_References) {
        const auto co_after =
            std::upper_bound(co_Starts.begin(), co_Starts.end(), co_reference.n_Offset);
        if (co_after == co_Starts.begin()) {
            v_NotWellFormed(co_Bytes, static_cast<std::ptrdiff_t>(co_reference.n_Offset),
                            co_reference.co_What.c_str());
        }
        CT_XliffUnit& co_unit =
            co_Units[static_cast<std::size_t>(co_after - co_Starts.begin()) - 1];
        if (co_unit.n_FaultLine == 0) {
            co_unit.co_Fault = co_reference.co_What;
            co_unit.n_FaultLine = f_LineOf(co_reference.n_Offset);
        }
    }
    if (co_Units.empty()) {
        throw CT_XliffReader::CT_Refusal("the file holds no translation units");
    }
}

}  // namespace

std::vector<std::string> CT_XliffReader::sco_StoryKeys(std::string_view co_Bytes) {
    return sco_Keys(co_Bytes, nullptr);
}

std::vector<std::string> CT_XliffReader::sco_StoryKeys(CT_FileBytes& co_File) {
    return sco_Keys(co_File.co_View(), &co_File);
}

std::vector<std::string> CT_XliffReader::sco_Keys(std::string_view co_Bytes,
                                                  CT_FileBytes* pco_File) {
    std::vector<std::string> co_keys;
    // The units' start tags are in the outline: their content need not be parsed at all.
    const CT_XliffUnitSpans co_spans(co_Bytes, CT_XliffUnitSpans::e_WithUnits,
                                     f_GivingBack(pco_File));
    const std::string_view co_outline =
        co_spans.b_Found() ? std::string_view(co_spans.cco_Outline()) : co_Bytes;
    pugi::xml_document co_document;
    if (!co_document.load_buffer(co_outline.data(), co_outline.size())) {
        return co_keys;
    }
    if (CT_XmlDepth::sco_TooDeep(co_document.document_element())) {
        return co_keys;
    }
    std::vector<pugi::xml_node> co_units;
    v_CollectUnits(co_document.document_element(), co_units);
    std::unordered_set<std::string> co_seen;
    for (const pugi::xml_node& co_unit : co_units) {
        std::string co_key = CT_XliffUnitReader::ss_StoryKey(co_unit.attribute("id").value());
        if (!co_key.empty() && co_seen.insert(co_key).second) {
            co_keys.push_back(std::move(co_key));
        }
    }
    return co_keys;
}

std::vector<std::string> CT_XliffReader::co_StoryKeys() const {
    std::vector<std::string> co_keys;
    std::unordered_set<std::string> co_seen;
    for (const CT_XliffUnit& co_unit : co_Units) {
        if (!co_unit.co_Key.empty() && co_seen.insert(co_unit.co_Key).second) {
            co_keys.push_back(co_unit.co_Key);
        }
    }
    return co_keys;
}

void CT_XliffReader::v_LetGoOfText(const CT_XliffUnit& co_Unit) {
    CT_XliffUnit& co_unit = co_Units.at(static_cast<std::size_t>(&co_Unit - co_Units.data()));
    std::vector<CT_TaggedToken>().swap(co_unit.co_Source);
    std::vector<CT_TaggedToken>().swap(co_unit.co_Target);
}

void CT_XliffReader::v_Unpack(const CT_XliffUnit& co_Unit) {
    const std::size_t n_index = static_cast<std::size_t>(&co_Unit - co_Units.data());
    CT_XliffUnit& co_unit = co_Units.at(n_index);
    if (n_index >= co_Spans.size()) {
        return;
    }
    const CT_XliffUnitSpans::CT_Span& co_span = co_Spans[n_index];
    std::string co_buffer;
    const std::string_view co_bytes =
        pco_File->co_Reread(co_span.n_Start, co_span.n_End, co_buffer);
    pugi::xml_document co_tree;
    CT_XliffUnit co_read;
    // Read once already, as it stood: the depth it may nest to is known to be enough.
    if (co_bytes.size() == co_span.n_End - co_span.n_Start &&
        CT_XliffUnitSpans::sb_ParseUnit(co_bytes, {0, co_bytes.size()}, CT_XmlDepth::kn_Limit,
                                        co_tree)) {
        co_read = CT_XliffUnitReader::sco_Read(co_tree.document_element(), b_Referring(co_bytes));
    }
    if (co_read.co_Id != co_unit.co_Id || co_read.b_Target != co_unit.b_Target) {
        co_unit.co_Fault = "the file changed while it was read: import it again";
        co_unit.n_FaultLine = 0;
        return;
    }
    co_unit.co_Source = std::move(co_read.co_Source);
    co_unit.co_Target = std::move(co_read.co_Target);
}

CT_XliffReader::CT_XliffReader(std::string_view co_Bytes, const CT_Cancel& f_Cancel,
                               unsigned n_Threads)
    : CT_XliffReader(co_Bytes, nullptr, f_Cancel, n_Threads) {}

CT_XliffReader::CT_XliffReader(CT_FileBytes& co_File, const CT_Cancel& f_Cancel, unsigned n_Threads)
    : CT_XliffReader(co_File.co_View(), &co_File, f_Cancel, n_Threads) {}

CT_XliffReader::CT_XliffReader(std::string_view co_Bytes, CT_FileBytes* pco_File,
                               const CT_Cancel& f_Cancel, unsigned n_Threads)
    : n_Threads(n_Threads), pco_File(pco_File) {
    b_ByUnits = b_ReadByUnits(co_Bytes, f_Cancel);
    if (!b_ByUnits) {
        co_Files.clear();
        co_Units.clear();
        co_Spans.clear();
        // A file's pages given back are read from it again: one read as one tree is held whole.
        v_ReadWhole(co_Bytes, f_Cancel);
    }
}

// Parses the outline, then each unit on its own. Whatever is wrong with the file, or not as the
// spans take it (another encoding than UTF-8), gives false, and the whole file is read as one
// tree instead: that reading says why, in the parser's words and at the file's own place.
bool CT_XliffReader::b_ReadByUnits(std::string_view co_Bytes, const CT_Cancel& f_Cancel) {
    std::vector<CT_XliffUnitSpans::CT_Span> co_units;
    std::vector<std::size_t> co_depths;  // how deep each unit stands
    std::vector<bool> co_reads;          // whether it stands in a <file>, and so is read
    // Each pass over a file's bytes gives them back behind it.
    const CT_XliffUnitSpans::CT_Passed v_GiveBack = f_GivingBack(pco_File);
    CT_Lines co_lines;
    constexpr std::size_t kn_Stretch = std::size_t{4} << 20;
    for (std::size_t n_at = 0; n_at < co_Bytes.size(); n_at += kn_Stretch) {
        const std::string_view co_stretch = co_Bytes.substr(n_at, kn_Stretch);
        co_lines.v_Read(co_stretch, n_at);
        v_GiveBack(n_at, n_at + co_stretch.size());
    }
    // The outline and its tree are let go before the first unit is parsed.
    {
        const CT_XliffUnitSpans co_spans(co_Bytes, CT_XliffUnitSpans::e_WithUnitNames, v_GiveBack);
        pugi::xml_document co_outline;
        if (!co_spans.b_ParseOutline(co_outline)) {
            return false;
        }
        v_Poll(f_Cancel);
        const pugi::xml_node co_root = co_outline.document_element();
        try {
            v_CheckVersion(co_root);
        } catch (const CT_Refusal&) {
            return false;
        }
        // Every unit of the outline in file order, as the spans are.
        std::vector<pugi::xml_node> co_all;
        const std::function<void(const pugi::xml_node&, std::size_t)> v_Walk =
            [&](const pugi::xml_node& co_Node, std::size_t n_Depth) {
                for (pugi::xml_node co_child : co_Node.children()) {
                    if (b_Is(co_child, "trans-unit")) {
                        co_all.push_back(co_child);
                        co_depths.push_back(n_Depth + 1);
                    } else if (co_child.type() == pugi::node_element) {
                        v_Walk(co_child, n_Depth + 1);
                    }
                }
            };
        v_Walk(co_root, 1);
        co_units = co_spans.cco_Units();
        if (co_all.size() != co_units.size()) {
            return false;
        }
        std::vector<pugi::xml_node> co_read;
        for (pugi::xml_node co_file : co_root.children()) {
            if (b_Is(co_file, "file")) {
                const std::size_t n_at =
                    co_spans.n_FileOffset(static_cast<std::size_t>(co_file.offset_debug()));
                co_Files.push_back({co_file.attribute("original").value(),
                                    co_file.attribute("source-language").value(),
                                    co_file.attribute("target-language").value(),
                                    co_lines.n_Line(static_cast<std::ptrdiff_t>(n_at))});
                v_CollectUnits(co_file, co_read);
            }
        }
        // The units read are some of all, in the same order.
        auto co_next = co_read.begin();
        for (const pugi::xml_node& co_unit : co_all) {
            const bool b_read = co_next != co_read.end() && *co_next == co_unit;
            co_reads.push_back(b_read);
            co_next += b_read ? 1 : 0;
        }
    }
    // Where each unit read goes among the units read (the spans' order), and where it starts.
    std::vector<std::size_t> co_slots(co_units.size(), 0);
    std::vector<std::size_t> co_starts;
    for (std::size_t n = 0; n < co_units.size(); ++n) {
        co_slots[n] = co_starts.size();
        if (co_reads[n]) {
            co_starts.push_back(co_units[n].n_Start);
        }
    }
    if (co_starts.empty()) {
        return false;
    }
    co_Units.resize(co_starts.size());
    if (pco_File != nullptr) {
        co_Spans.resize(co_starts.size());
    }
    // The file is cut into stretches of kn_Batch units, the first from the file's start and the
    // last to its end, each parsed on the pool into its own places: the order, and so what is
    // read, is the file's whatever the threads. Units outside every <file> are parsed too: the
    // file is refused for them as for any. A stretch starts at a unit's start tag, outside every
    // comment, section and reference, so its encoding and references are checked on their own.
    // The bytes of a file are given back, by whatever thread parsed the last stretch before
    // them once it and every one before it are parsed: the thread that waits parses stretches
    // too, and may not be back in time.
    constexpr std::size_t kn_Batch = 256;
    const std::size_t n_batches = (co_units.size() + kn_Batch - 1) / kn_Batch;
    const auto n_StretchStart = [&](std::size_t n_Batch) {
        return n_Batch == 0           ? std::size_t{0}
               : n_Batch == n_batches ? co_Bytes.size()
                                      : co_units[n_Batch * kn_Batch].n_Start;
    };
    std::vector<std::vector<CT_BadReference>> co_references(n_batches);
    std::atomic<bool> b_wrong{false};
    {
        std::mutex co_told;
        std::vector<bool> co_parsed(n_batches, false);
        std::size_t n_untold = 0;  // the first stretch not given back
        CT_WorkPool co_pool(n_Threads);
        std::vector<std::size_t> co_tickets;
        for (std::size_t n_batch = 0; n_batch < n_batches; ++n_batch) {
            co_tickets.push_back(co_pool.n_Give([&, n_batch]() {
                const std::size_t n_from = n_StretchStart(n_batch);
                const std::string_view co_stretch =
                    co_Bytes.substr(n_from, n_StretchStart(n_batch + 1) - n_from);
                if (CT_Utf8::sn_FirstInvalid(co_stretch) != std::string_view::npos) {
                    b_wrong = true;
                }
                for (CT_BadReference& co_reference : co_BadReferences(co_stretch)) {
                    co_reference.n_Offset += n_from;
                    co_references[n_batch].push_back(std::move(co_reference));
                }
                const std::size_t n_to = std::min(co_units.size(), (n_batch + 1) * kn_Batch);
                for (std::size_t n = n_batch * kn_Batch; n < n_to && !b_wrong; ++n) {
                    const CT_XliffUnitSpans::CT_Span& co_span = co_units[n];
                    pugi::xml_document co_unit;
                    if (!CT_XliffUnitSpans::sb_ParseUnit(
                            co_Bytes, co_span, CT_XmlDepth::kn_Limit + 1 - co_depths[n], co_unit)) {
                        b_wrong = true;
                    } else if (co_reads[n]) {
                        CT_XliffUnit& co_read = co_Units[co_slots[n]];
                        co_read = CT_XliffUnitReader::sco_Read(
                            co_unit.document_element(),
                            b_Referring(
                                co_Bytes.substr(co_span.n_Start, co_span.n_End - co_span.n_Start)));
                        co_read.n_Line =
                            co_lines.n_Line(static_cast<std::ptrdiff_t>(co_span.n_Start));
                        if (pco_File != nullptr) {
                            // Read again when laid (v_Unpack): held for every unit at once,
                            // source and target would be as large as the file.
                            v_LetGoOfText(co_read);
                            co_Spans[co_slots[n]] = co_span;
                        }
                    }
                }
                if (pco_File == nullptr) {
                    return;
                }
                const std::lock_guard<std::mutex> co_lock(co_told);
                co_parsed[n_batch] = true;
                const std::size_t n_first = n_untold;
                for (; n_untold < n_batches && co_parsed[n_untold]; ++n_untold) {
                }
                v_GiveBack(n_StretchStart(n_first), n_StretchStart(n_untold));
            }));
        }
        for (const std::size_t n_ticket : co_tickets) {
            v_Poll(f_Cancel);
            co_pool.v_Wait(n_ticket);
        }
    }
    std::vector<CT_BadReference> co_all;
    for (std::vector<CT_BadReference>& co_some : co_references) {
        std::move(co_some.begin(), co_some.end(), std::back_inserter(co_all));
    }
    if (b_wrong || (!co_all.empty() && co_all.front().n_Offset < co_starts.front())) {
        return false;
    }
    // Refuses nothing now: what it refuses was looked for above.
    v_Finish(co_Bytes, co_all, co_starts, co_Units, [&](std::size_t n_Offset) {
        return co_lines.n_Line(static_cast<std::ptrdiff_t>(n_Offset));
    });
    return true;
}

void CT_XliffReader::v_ReadWhole(std::string_view co_Bytes, const CT_Cancel& f_Cancel) {
    pugi::xml_document co_document;
    const pugi::xml_parse_result co_result =
        co_document.load_buffer(co_Bytes.data(), co_Bytes.size(), kn_Parse);
    if (!co_result) {
        v_NotWellFormed(co_Bytes, co_result.offset, co_result.description());
    }
    v_Poll(f_Cancel);
    // Offsets are the file's own only when the parser did not convert it.
    const bool b_utf8 = co_result.encoding == pugi::encoding_utf8;
    bool b_checkTexts = true;
    // The parser passes bad bytes of a UTF-8 file on as they are; the document would refuse
    // them later, naming neither this file nor the place.
    if (b_utf8) {
        const std::size_t n_bad = CT_Utf8::sn_FirstInvalid(co_Bytes);
        if (n_bad != std::string_view::npos) {
            v_NotWellFormed(co_Bytes, static_cast<std::ptrdiff_t>(n_bad),
                            "bytes that are not UTF-8");
        }
        b_checkTexts = co_Bytes.find("&#") != std::string_view::npos;
    }
    v_Poll(f_Cancel);
    const pugi::xml_node co_root = co_document.document_element();
    v_CheckVersion(co_root);
    const CT_Lines co_lines(b_utf8 ? co_Bytes : std::string_view());
    auto n_LineOf = [&](const pugi::xml_node& co_Node) {
        return b_utf8 ? co_lines.n_Line(co_Node.offset_debug()) : 0;
    };
    if (const pugi::xml_node co_deep = CT_XmlDepth::sco_TooDeep(co_root)) {
        const std::size_t n_line = n_LineOf(co_deep);
        throw CT_Refusal("elements nest more than " + std::to_string(CT_XmlDepth::kn_Limit) +
                         " deep" + (n_line == 0 ? "" : " at line " + std::to_string(n_line)) +
                         " (<" + CT_Shown::ss_Value(co_deep.name()) +
                         ">), deeper than any translation nests");
    }
    std::vector<pugi::xml_node> co_nodes;
    for (pugi::xml_node co_file : co_root.children()) {
        if (!b_Is(co_file, "file")) {
            continue;
        }
        co_Files.push_back({co_file.attribute("original").value(),
                            co_file.attribute("source-language").value(),
                            co_file.attribute("target-language").value(), n_LineOf(co_file)});
        v_CollectUnits(co_file, co_nodes);
    }
    v_Poll(f_Cancel);
    co_Units.reserve(co_nodes.size());
    std::vector<std::size_t> co_starts;
    co_starts.reserve(co_nodes.size());
    for (const pugi::xml_node& co_node : co_nodes) {
        if (co_Units.size() % 256 == 0) {
            v_Poll(f_Cancel);
        }
        co_Units.push_back(CT_XliffUnitReader::sco_Read(co_node, b_checkTexts));
        co_Units.back().n_Line = n_LineOf(co_node);
        co_starts.push_back(static_cast<std::size_t>(co_node.offset_debug()));
    }
    // The references are looked for in the file's own bytes only.
    const std::string_view co_own = b_utf8 ? co_Bytes : std::string_view();
    v_Finish(co_own, co_BadReferences(co_own), co_starts, co_Units, [&](std::size_t n_Offset) {
        return co_lines.n_Line(static_cast<std::ptrdiff_t>(n_Offset));
    });
}
