// Where each <trans-unit> of a UTF-8 XLIFF file stands, found by following its markup alone, and
// the file's outline: the file with each unit's content (or each unit) cut out. The reader
// parses the outline and then one unit at a time, so that it never holds a tree of the whole
// file (three to four times the file's size). A plain value that owns the outline; the spans
// are offsets into the bytes it was made from, which stay the caller's.
#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CT_XliffUnitSpans {
  public:
    // One unit: from the "<" of its start tag to just past its end tag.
    struct CT_Span {
        std::size_t n_Start = 0;
        std::size_t n_End = 0;
    };

    // Follows tags, comments, CDATA sections, processing instructions and the document type,
    // and an attribute's quoted value wherever it holds a ">". Refuses (b_Found false) bytes
    // whose markup ends inside a construct or inside a unit: the reader then parses the whole
    // file, which says what is wrong with it as a parser words it.
    // e_WithoutUnits leaves every unit out of the outline, start tag and all: for a reader
    // that needs of the outline only that it is well-formed. e_WithUnitNames keeps of each
    // unit's start tag its name: for a reader that reads the attributes with the unit, and
    // would hold them twice (a tree of them is several times their bytes).
    // f_Passed is told, every few megabytes, of a stretch of bytes that is not read again.
    enum et_Outline { e_WithUnits, e_WithUnitNames, e_WithoutUnits };
    using CT_Passed = std::function<void(std::size_t n_From, std::size_t n_To)>;
    explicit CT_XliffUnitSpans(std::string_view co_Bytes, et_Outline eo_Outline = e_WithUnits,
                               const CT_Passed& f_Passed = CT_Passed());

    bool b_Found() const { return b_Followed; }
    // The bytes with each unit that has content closed right after its start tag
    // (<trans-unit id="u1.1"/>), or cut to its name (<trans-unit/>), or with no unit at all;
    // the rest as it stands.
    const std::string& cco_Outline() const { return co_Outline; }
    // The offset in the file of an offset in the outline.
    std::size_t n_FileOffset(std::size_t n_OutlineOffset) const;
    // Every unit that stands outside another one, in file order.
    const std::vector<CT_Span>& cco_Units() const { return co_Units; }
    // The unit whose span holds the file offset, or null.
    const CT_Span* pco_UnitAt(std::size_t n_FileOffset) const;

    // Parse as the readers parse (whitespace between elements kept as text). The outline: false
    // when the spans were not found or it is no well-formed XML in UTF-8 (the bytes of another
    // encoding are not what the spans took them for), or nests deeper than CT_XmlDepth allows.
    bool b_ParseOutline(pugi::xml_document& co_Tree) const;
    // A unit of the bytes the spans were found in: false when it is no well-formed XML or
    // nests deeper than n_Limit.
    static bool sb_ParseUnit(std::string_view co_Bytes, const CT_Span& co_Span, std::size_t n_Limit,
                             pugi::xml_document& co_Tree);

  private:
    bool b_Follow(std::string_view co_Bytes, const CT_Passed& f_Passed);

    const bool b_Bare;
    const bool b_NameOnly;
    bool b_Followed = false;
    std::string co_Outline;
    // Where each stretch of the outline copied from the file begins, in both.
    struct CT_Stretch {
        std::size_t n_Outline;
        std::size_t n_File;
    };
    std::vector<CT_Stretch> co_Stretches;
    std::vector<CT_Span> co_Units;
};
