#include "operations/ct_tagged_file.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#include "operations/ct_file_kind.h"
#include "operations/ct_text_place.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_file_bytes.h"
#include "platform/common/ct_parallel_utf8.h"
#include "platform/common/ct_run_folder.h"
#include "platform/host/ct_basic_interface.h"
#include "textbox/ct_story_tags.h"

namespace {
std::string s_Plain(const CT_String& co_Text) {
    return std::string(co_Text.sv());
}

// CR LF and a lone CR become LF; nothing else changes, so lines and columns stay where they
// were.
std::string s_WithLineFeeds(std::string_view s_Bytes) {
    std::string s_out;
    s_out.reserve(s_Bytes.size());
    for (std::size_t n_at = 0; n_at < s_Bytes.size(); ++n_at) {
        if (s_Bytes[n_at] != '\r') {
            s_out.push_back(s_Bytes[n_at]);
        } else if (n_at + 1 >= s_Bytes.size() || s_Bytes[n_at + 1] != '\n') {
            s_out.push_back('\n');
        }
    }
    return s_out;
}

std::string s_WriteCopy(std::string_view s_Text, const std::string& s_Original) {
    std::string s_template = CT_RunFolder::ss_Temporary() + "copy-XXXXXX.stt";
    const int i_fd = mkstemps(s_template.data(), 4);
    if (i_fd < 0) {
        CT_Errors::v_ThrowError(
            e_FileWrite,
            CT_String(
                ("cannot make a copy of \"" + s_Original + "\": " + std::strerror(errno)).c_str()));
    }
    std::size_t n_done = 0;
    while (n_done < s_Text.size()) {
        const ssize_t n_written = write(i_fd, s_Text.data() + n_done, s_Text.size() - n_done);
        if (n_written <= 0) {
            const std::string s_why = std::strerror(errno);
            close(i_fd);
            unlink(s_template.c_str());
            CT_Errors::v_ThrowError(
                e_FileWrite,
                CT_String(("cannot make a copy of \"" + s_Original + "\": " + s_why).c_str()));
        }
        n_done += static_cast<std::size_t>(n_written);
    }
    close(i_fd);
    return s_template;
}
}  // namespace

// The file's text: its bytes where they lie, or a copy with LF line ends of a file that has CR.
struct CT_TaggedFile::CT_Text {
    std::unique_ptr<CT_FileBytes> pco_Bytes;
    std::string s_LineFeeds;
    std::string_view co_View;
};

std::string_view CT_TaggedFile::s_Text() const {
    return pco_Text->co_View;
}

CT_TaggedFile::CT_TaggedFile(const std::string& s_Path, bool b_Places, unsigned n_Threads)
    : s_Path(s_Path), b_Places(b_Places) {
    // Mapped, not read into memory of its own: a translation of a large document runs to tens
    // of megabytes, which a copy would first clear and then fill. A pipe is read as it comes.
    auto pco_text = std::make_shared<CT_Text>();
    try {
        pco_text->pco_Bytes = std::make_unique<CT_FileBytes>(s_Path);
    } catch (et_ErrorCode eo_code) {
        if (eo_code != e_FileRead) {
            throw;
        }
        CT_Errors::v_ThrowError(e_FileRead, CT_String(("cannot read \"" + s_Path + "\"").c_str()));
    }
    const std::string_view co_bytes = pco_text->pco_Bytes->co_View();
    v_CheckEncoding(co_bytes, n_Threads);
    const bool b_cr = co_bytes.find('\r') != std::string_view::npos;
    if (b_cr) {
        pco_text->s_LineFeeds = s_WithLineFeeds(co_bytes);
        pco_text->pco_Bytes.reset();
        pco_text->co_View = pco_text->s_LineFeeds;
    } else {
        pco_text->co_View = co_bytes;
    }
    pco_Text = std::move(pco_text);
    v_ReadStories();
    // A pipe is read once: the kernel, which opens the file again by its path, gets a copy.
    std::error_code co_error;
    if (b_cr || !std::filesystem::is_regular_file(s_Path, co_error)) {
        s_Copy = s_WriteCopy(s_Text(), s_Path);
    }
}

CT_TaggedFile::~CT_TaggedFile() {
    if (!s_Copy.empty()) {
        unlink(s_Copy.c_str());
    }
}

CT_TaggedFile::CT_Contents CT_TaggedFile::pco_Contents() const {
    const std::string s_endTag = s_Plain(CT_StoryTags::sco_EndTag);
    struct CT_Held {
        std::shared_ptr<const CT_Text> pco_Text;
        std::map<std::string, std::string_view> co_ByKey;
    };
    auto pco_held = std::make_shared<CT_Held>();
    pco_held->pco_Text = pco_Text;
    const std::string_view co_text = s_Text();
    for (const CT_Story& co_story : co_Stories) {
        // Read as the import reads a story: up to the first end tag after its start tag.
        const std::size_t n_end = co_text.find(s_endTag, co_story.n_Content);
        pco_held->co_ByKey.emplace(co_story.s_Key,
                                   co_text.substr(co_story.n_Content, n_end - co_story.n_Content));
    }
    return CT_Contents(pco_held, &pco_held->co_ByKey);
}

std::string CT_TaggedFile::s_Message(std::size_t n_Offset, const std::string& s_What) const {
    return b_Places ? CT_TextPlace::ss_Message(s_Path, s_Text(), n_Offset, s_What)
                    : s_Path + ": " + s_What;
}

std::size_t CT_TaggedFile::n_GetLine(std::size_t n_Offset) const {
    return CT_TextPlace::sn_Line(s_Text(), n_Offset);
}

std::string CT_TaggedFile::s_Locate(const std::string& s_Error) const {
    // "story KEY: WHAT" or "story KEY: WHAT at byte N", the codec's refusals, read by hand.
    static const char pc_Story[] = "story ";
    static const char pc_Byte[] = " at byte ";
    if (s_Error.compare(0, sizeof pc_Story - 1, pc_Story) != 0 ||
        s_Error.find_first_of("\r\n") != std::string::npos) {
        return s_Error;
    }
    const std::size_t n_key = sizeof pc_Story - 1;
    const std::size_t n_blank = s_Error.find_first_of(" \t\v\f", n_key);
    if (n_blank == std::string::npos || n_blank < n_key + 2 || s_Error[n_blank - 1] != ':') {
        return s_Error;
    }
    const std::string s_key = s_Error.substr(n_key, n_blank - 1 - n_key);
    std::string s_what = s_Error.substr(n_blank + 1);
    std::size_t n_byte = std::string::npos;
    const std::size_t n_at = s_what.rfind(pc_Byte);
    if (n_at != std::string::npos) {
        const std::string s_digits = s_what.substr(n_at + sizeof pc_Byte - 1);
        if (!s_digits.empty() && s_digits.size() < 19 &&
            s_digits.find_first_not_of("0123456789") == std::string::npos) {
            n_byte = std::stoul(s_digits);
            s_what.erase(n_at);
        }
    }
    for (const CT_Story& co_story : co_Stories) {
        if (co_story.s_Key == s_key) {
            const std::size_t n_place =
                n_byte != std::string::npos ? co_story.n_Content + n_byte : co_story.n_Tag;
            return s_Message(n_place, "story " + co_story.s_Key + ": " + s_what);
        }
    }
    return s_Error;
}

void CT_TaggedFile::v_Refuse(std::size_t n_Offset, const std::string& s_What) const {
    CT_Errors::v_ThrowError(e_FileRead, CT_String(s_Message(n_Offset, s_What).c_str()));
}

void CT_TaggedFile::v_CheckEncoding(std::string_view s_Bytes, unsigned n_Threads) const {
    CT_FileKind::et_Kind eo_kind =
        CT_FileKind::seo_Guess(std::string(s_Bytes.substr(0, CT_FileKind::sn_Head)));
    if ((eo_kind == CT_FileKind::e_Other || eo_kind == CT_FileKind::e_Tagged) &&
        s_Bytes.find('\0', CT_FileKind::sn_Head) != std::string::npos) {
        eo_kind = CT_FileKind::e_Binary;
    }
    const char* pc_after = eo_kind == CT_FileKind::e_Zip ? ", not a tagged story file"
                           : eo_kind == CT_FileKind::e_Utf16
                               ? "; a tagged story file is read as UTF-8: save it as UTF-8"
                           : eo_kind == CT_FileKind::e_Binary
                               ? " (it holds zero bytes), not a tagged story file"
                           : eo_kind == CT_FileKind::e_Xliff
                               ? ", not a tagged story file: give --format xliff to read it"
                               : nullptr;
    if (pc_after != nullptr) {
        CT_Errors::v_ThrowError(
            e_FileRead,
            CT_String(("\"" + s_Path + "\" is " + CT_FileKind::spc_Describe(eo_kind) + pc_after)
                          .c_str()));
    }
    const std::size_t n_at = CT_ParallelUtf8::sn_FirstInvalid(s_Bytes, n_Threads);
    if (n_at != std::string::npos) {
        char ac_byte[8];
        std::snprintf(ac_byte, sizeof ac_byte, "0x%02X", static_cast<unsigned char>(s_Bytes[n_at]));
        CT_Errors::v_ThrowError(
            e_FileRead,
            CT_String(CT_TextPlace::ss_Message(
                          s_Path, s_Bytes, n_at,
                          std::string("the byte ") + ac_byte +
                              " is not UTF-8: the file seems to be in a legacy 8-bit encoding "
                              "(such as Latin-1 or Windows-1252); save it as UTF-8")
                          .c_str()));
    }
}

std::vector<std::string> CT_TaggedFile::co_Keys() const {
    std::vector<std::string> co_keys;
    co_keys.reserve(co_Stories.size());
    for (const CT_Story& co_story : co_Stories) {
        co_keys.push_back(co_story.s_Key);
    }
    return co_keys;
}

void CT_TaggedFile::v_ReadStories() {
    const std::string s_version = s_Plain(CT_BasicInterface::co_GetOpenVersionTag());
    std::size_t n_at = s_Text().find(s_version);
    if (n_at == std::string::npos) {
        std::string s_shown = s_version;
        s_shown.erase(s_shown.find_last_not_of("\r\n") + 1);
        v_Refuse(0, "not a tagged story file: it lacks the version tag " + s_shown);
    }
    n_at += s_version.size();
    const std::size_t n_body = n_at;
    const std::string s_start = s_Plain(CT_StoryTags::sco_StoryStart);
    const std::string s_keyEnd = s_Plain(CT_StoryTags::sco_KeyEnd);
    const std::string s_tagEnd = s_Plain(CT_StoryTags::sco_StartTagEnd);
    const std::string s_endTag = s_Plain(CT_StoryTags::sco_EndTag);
    for (std::size_t n_tag = s_Text().find(s_start, n_at); n_tag != std::string::npos;
         n_tag = s_Text().find(s_start, n_at)) {
        const std::size_t n_key = n_tag + s_start.size();
        const std::size_t n_keyEnd = s_Text().find(s_keyEnd, n_key);
        const std::size_t n_line = s_Text().find('\n', n_key);
        if (n_keyEnd == std::string::npos || n_keyEnd > n_line) {
            v_Refuse(n_tag, "the story's key has no closing quote on its line");
        }
        const std::string s_key(s_Text().substr(n_key, n_keyEnd - n_key));
        if (s_key.empty()) {
            v_Refuse(n_tag, "the story's key is empty (NAME=\"\")");
        }
        const std::size_t n_tagEnd = s_Text().find(s_tagEnd, n_keyEnd);
        if (n_tagEnd == std::string::npos) {
            v_Refuse(n_tag, "the start tag of the story \"" + s_key + "\" has no " + s_tagEnd);
        }
        const std::size_t n_end = s_Text().find(s_endTag, n_tagEnd);
        if (n_end == std::string::npos) {
            v_Refuse(n_tag, "the story \"" + s_key + "\" has no end tag " + s_endTag);
        }
        co_Stories.push_back({s_key, n_tag, n_tagEnd + s_tagEnd.size()});
        n_at = n_end;
    }
    if (!co_Stories.empty()) {
        return;
    }
    // Nothing that the import would take: name the first line that the user meant as a story.
    const std::string s_close = s_Plain(CT_BasicInterface::co_GetCloseVersionTag());
    for (std::size_t n_line = n_body; n_line < s_Text().size();) {
        std::size_t n_next = s_Text().find('\n', n_line);
        n_next = n_next == std::string::npos ? s_Text().size() : n_next + 1;
        const std::string s_line(s_Text().substr(n_line, n_next - n_line));
        const bool b_blank = s_line.find_first_not_of(" \t\n") == std::string::npos;
        if (!b_blank && s_Text().compare(n_line, s_close.size(), s_close) != 0) {
            v_Refuse(n_line, "no story was found: this line is not a story tag " + s_start +
                                 "KEY\" ...>: " + CT_TextPlace::ss_LineAt(s_Text(), n_line));
        }
        n_line = n_next;
    }
    v_Refuse(n_body, "the file holds no story");
}
