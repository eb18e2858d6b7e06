// Reads an XLIFF 1.2 file that storyport wrote and a translation tool filled: each story's
// translated content as tagged content, put back together from its units (targets where a
// unit has one, its source where not), whatever the tool did to segments (merged, split,
// <mrk> kept or dropped). Refuses, with one clear message each, what cannot be imported:
// bytes that are not well-formed XML (with line and column), XLIFF 2, a file without units,
// and a target whose codes differ from its source's (missing, extra, renamed, twice or
// misnested), naming the story, the unit and the code. Holds the result; owns its texts.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/ct_tagged_file.h"

class CT_XliffReader {
  public:
    // The error every refusal raises; what() is the whole message, without the file's name.
    class CT_Refusal : public std::runtime_error {
      public:
        using std::runtime_error::runtime_error;
    };

    // Reads the file's bytes. Raises CT_Refusal.
    explicit CT_XliffReader(std::string_view co_Bytes);

    // The story keys a file names, in file order, without reading its units; none for bytes
    // that are no XLIFF file (the reading that follows says why).
    static std::vector<std::string> sco_StoryKeys(std::string_view co_Bytes);

    // The <file> element's original (the document's file name), and its languages.
    const std::string& cco_Original() const { return co_Original; }
    const std::string& cco_SourceLanguage() const { return co_SourceLanguage; }
    const std::string& cco_TargetLanguage() const { return co_TargetLanguage; }
    // The stories in file order: key and translated tagged content (no location).
    const std::vector<CT_TaggedStory>& cco_Stories() const { return co_Stories; }
    // Ids of the units to translate that have no target or a target equal to their source.
    const std::vector<std::string>& cco_Untranslated() const { return co_Untranslated; }
    std::size_t n_Units() const { return n_Units_; }

  private:
    std::string co_Original;
    std::string co_SourceLanguage;
    std::string co_TargetLanguage;
    std::vector<CT_TaggedStory> co_Stories;
    std::vector<std::string> co_Untranslated;
    std::size_t n_Units_ = 0;
    // Whether a text may hold bytes that are not UTF-8: the file's own bytes are checked
    // whole, but the parser makes character references (and other encodings) into bytes.
    bool b_CheckTexts = true;

    friend class CT_XliffStoryReader;
};
