// A translator's tagged story file, read and checked by the command before the kernel sees it:
// its encoding, its line ends, its version tag and the start tag of every story, read the way
// the kernel's import reads them. Whatever is wrong is named with the file, the line and the
// column. A file saved with CR LF or CR line ends is accepted: the kernel is given a copy with
// LF line ends, which the object owns and removes when it is destroyed; so is a pipe, which can
// be read only once. The file is read where it lies (mapped), not copied into memory.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CT_TaggedFile {
  public:
    struct CT_Story {
        std::string s_Key;
        std::size_t n_Tag;      // offset of the start tag
        std::size_t n_Content;  // offset of the story's first character
    };

    // Reads and checks the file. Raises e_FileOpen when it cannot be read and e_FileRead when
    // it is not a tagged story file in UTF-8, with a text naming the file and the place.
    // b_Places false: the file was made from another one (an XLIFF file), whose lines are not
    // its lines, so messages name the file without a line and column. Its UTF-8 is checked on
    // n_Threads threads (this one counted), with the same outcome for any number.
    explicit CT_TaggedFile(const std::string& s_Path, bool b_Places = true, unsigned n_Threads = 1);
    ~CT_TaggedFile();
    CT_TaggedFile(const CT_TaggedFile&) = delete;
    CT_TaggedFile& operator=(const CT_TaggedFile&) = delete;

    const std::string& s_GetPath() const { return s_Path; }
    // The stories in file order.
    const std::vector<CT_Story>& co_GetStories() const { return co_Stories; }
    // Their keys, in file order, as the import reads them.
    std::vector<std::string> co_Keys() const;
    // Each story's content by key, as the import reads it (a key that comes twice keeps its
    // first story), as views into the file's text, which the pointer keeps alive.
    using CT_Contents = std::shared_ptr<const std::map<std::string, std::string_view>>;
    CT_Contents pco_Contents() const;
    // The path to give the kernel: the file itself, or its copy with LF line ends.
    const std::string& s_GetReadablePath() const { return s_Copy.empty() ? s_Path : s_Copy; }
    // "FILE:LINE:COLUMN: WHAT" for a place in the file ("FILE: WHAT" without places).
    std::string s_Message(std::size_t n_Offset, const std::string& s_What) const;
    std::size_t n_GetLine(std::size_t n_Offset) const;
    bool b_HasPlaces() const { return b_Places; }
    // A refusal of the host for one story ("story KEY: WHAT", maybe ending "at byte N" of the
    // story's content) with the file and the place put in front; other texts as they are.
    std::string s_Locate(const std::string& s_Error) const;

  private:
    void v_CheckEncoding(std::string_view co_Bytes, unsigned n_Threads) const;
    void v_ReadStories();
    [[noreturn]] void v_Refuse(std::size_t n_Offset, const std::string& s_What) const;

    std::string s_Path;
    bool b_Places;
    std::string_view s_Text() const;

    struct CT_Text;
    std::shared_ptr<const CT_Text> pco_Text;  // with LF line ends
    std::string s_Copy;
    std::vector<CT_Story> co_Stories;
};
