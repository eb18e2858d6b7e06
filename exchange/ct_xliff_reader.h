// Reads an XLIFF 1.2 file that storyport wrote and a translation tool filled: every
// <trans-unit> of every <file>, wherever it stands, as a CT_XliffUnit in file order, and each
// <file>'s original and languages. Nothing is trusted to the file's order or structure: units
// say by their ids where they go (CT_XliffPlacement puts them there). Refuses the whole file,
// with one clear message, when it is no well-formed XML (with line and column), not UTF-8 where
// it says so, no XLIFF 1.2 (XLIFF 2, or 1.2 content in the namespace of 2), nests elements
// deeper than CT_XmlDepth::kn_Limit (with the line) or holds no unit.
// A unit whose text holds an undefined entity (&nbsp;, one of a DTD) or a character reference
// to NUL or to no character is kept with its fault and the line of the reference. Owns what
// it read.
#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/ct_xliff_unit.h"
#include "exchange/ct_xliff_unit_spans.h"

class CT_FileBytes;

class CT_XliffReader {
  public:
    // The error every refusal raises; what() is the whole message, without the file's name.
    class CT_Refusal : public std::runtime_error {
      public:
        using std::runtime_error::runtime_error;
    };

    // One <file> element: the document it was made for and its languages.
    struct CT_File {
        std::string co_Original;
        std::string co_SourceLanguage;
        std::string co_TargetLanguage;
        std::size_t n_Line = 0;
    };

    // Raised when the cancel function asks to stop; the reader keeps nothing.
    class CT_Cancelled {};
    using CT_Cancel = std::function<bool()>;

    // Reads the bytes, its units on n_Threads threads (the caller's counted; what is read is
    // the same for any number). Raises CT_Refusal, or CT_Cancelled when f_Cancel, asked on the
    // caller's thread between the steps of the reading and every few hundred units, says so.
    explicit CT_XliffReader(std::string_view co_Bytes, const CT_Cancel& f_Cancel = CT_Cancel(),
                            unsigned n_Threads = 1);
    // Reads a file's bytes so, giving them back as its units are read: of a unit read a unit at
    // a time it keeps all but its source and target, which v_Unpack reads again from the file,
    // and a file's units and the file are not held whole at once. The file outlives the reader.
    explicit CT_XliffReader(CT_FileBytes& co_File, const CT_Cancel& f_Cancel = CT_Cancel(),
                            unsigned n_Threads = 1);

    // The story keys a file's unit ids name, each once, in file order, without reading the
    // units' content; none for bytes that are no XLIFF file (the reading that follows says
    // why).
    static std::vector<std::string> sco_StoryKeys(std::string_view co_Bytes);
    // The same of a file, given back as it is read.
    static std::vector<std::string> sco_StoryKeys(CT_FileBytes& co_File);

    const std::vector<CT_File>& cco_Files() const { return co_Files; }
    const std::vector<CT_XliffUnit>& cco_Units() const { return co_Units; }
    // The story keys of the units, each once, in file order.
    std::vector<std::string> co_StoryKeys() const;
    // Lets go of a unit's source and target once they are laid over the document, keeping the
    // rest of it: a file's units are held at once, three times their text. Safe on several
    // threads for different units.
    void v_LetGoOfText(const CT_XliffUnit& co_Unit);
    // Gives a unit read from a file without them its source and target, read again from the
    // file; nothing for one that has them. A unit the file no longer holds as it did (changed
    // since) is given a fault instead. Safe on several threads for different units.
    void v_Unpack(const CT_XliffUnit& co_Unit);
    // Whether the file was read a unit at a time (CT_XliffUnitSpans) rather than as one tree,
    // which a well-formed UTF-8 file always is: what the reading gives is the same either way.
    bool b_ReadUnitByUnit() const { return b_ByUnits; }

  private:
    CT_XliffReader(std::string_view co_Bytes, CT_FileBytes* pco_File, const CT_Cancel& f_Cancel,
                   unsigned n_Threads);
    static std::vector<std::string> sco_Keys(std::string_view co_Bytes, CT_FileBytes* pco_File);
    bool b_ReadByUnits(std::string_view co_Bytes, const CT_Cancel& f_Cancel);
    void v_ReadWhole(std::string_view co_Bytes, const CT_Cancel& f_Cancel);

    const unsigned n_Threads;
    CT_FileBytes* const pco_File = nullptr;
    bool b_ByUnits = false;
    std::vector<CT_File> co_Files;
    std::vector<CT_XliffUnit> co_Units;
    // Where each unit stands in the file, for units whose source and target are read there.
    std::vector<CT_XliffUnitSpans::CT_Span> co_Spans;
};
