#include "exchange/ct_tagged_file.h"

#include <stdexcept>

namespace {
constexpr std::string_view kco_Start = "<STORY NAME=\"";
constexpr std::string_view kco_Location = " LOCATION=\"";
constexpr std::string_view kco_End = "</STORY>";
}  // namespace

std::vector<CT_TaggedStory> CT_TaggedStoryFile::sco_Read(std::string_view co_File) {
    std::vector<CT_TaggedStory> co_stories;
    sv_ForEach(co_File, [&](std::string_view co_Key, std::string_view co_Location,
                            std::string_view co_Content) {
        co_stories.push_back(
            {std::string(co_Key), std::string(co_Location), std::string(co_Content)});
    });
    return co_stories;
}

void CT_TaggedStoryFile::sv_ForEach(std::string_view co_File, const CT_Visit& f_Visit) {
    std::size_t n = co_File.find(kco_Start);
    while (n != std::string_view::npos) {
        n += kco_Start.size();
        const std::size_t n_quote = co_File.find('"', n);
        const std::size_t n_close =
            co_File.find('>', n_quote == std::string_view::npos ? n : n_quote);
        if (n_quote == std::string_view::npos || n_close == std::string_view::npos) {
            throw std::invalid_argument("a story start tag has no end, after byte " +
                                        std::to_string(n));
        }
        const std::string_view co_key = co_File.substr(n, n_quote - n);
        std::string_view co_location;
        std::string_view co_attributes = co_File.substr(n_quote + 1, n_close - n_quote - 1);
        if (co_attributes.substr(0, kco_Location.size()) == kco_Location &&
            co_attributes.size() > kco_Location.size() && co_attributes.back() == '"') {
            co_location = co_attributes.substr(kco_Location.size(),
                                               co_attributes.size() - kco_Location.size() - 1);
        }
        const std::size_t n_end = co_File.find(kco_End, n_close + 1);
        if (n_end == std::string_view::npos) {
            throw std::invalid_argument("story " + std::string(co_key) + " has no end tag");
        }
        f_Visit(co_key, co_location, co_File.substr(n_close + 1, n_end - n_close - 1));
        n = co_File.find(kco_Start, n_end + kco_End.size());
    }
}

void CT_TaggedStoryFile::sv_ForEach(std::istream& co_In, const CT_Visit& f_Visit) {
    constexpr std::size_t kn_Block = std::size_t{1} << 20;
    std::string s_held;
    for (;;) {
        const std::size_t n_had = s_held.size();
        s_held.resize(n_had + kn_Block);
        co_In.read(s_held.data() + n_had, static_cast<std::streamsize>(kn_Block));
        s_held.resize(n_had + static_cast<std::size_t>(co_In.gcount()));
        if (co_In.bad()) {
            throw std::runtime_error("the file cannot be read");
        }
        const bool b_end = co_In.eof();
        // Whole stories only: up to the end of the last end tag, or all at the end.
        const std::size_t n_last = s_held.rfind(kco_End);
        const std::size_t n_whole = b_end                         ? s_held.size()
                                    : n_last == std::string::npos ? 0
                                                                  : n_last + kco_End.size();
        sv_ForEach(std::string_view(s_held).substr(0, n_whole), f_Visit);
        s_held.erase(0, n_whole);
        if (b_end) {
            return;
        }
    }
}

std::string CT_TaggedStoryFile::s_Write(const std::vector<CT_TaggedStory>& co_Stories,
                                        std::string_view co_OpenTag, std::string_view co_CloseTag) {
    std::size_t n_size = co_OpenTag.size() + co_CloseTag.size();
    for (const CT_TaggedStory& co_story : co_Stories) {
        n_size +=
            co_story.co_Key.size() + co_story.co_Location.size() + co_story.co_Content.size() + 40;
    }
    std::string co_out;
    co_out.reserve(n_size);
    co_out += co_OpenTag;
    for (const CT_TaggedStory& co_story : co_Stories) {
        sv_WriteStory(co_story.co_Key, co_story.co_Location, co_story.co_Content, co_out);
    }
    co_out += co_CloseTag;
    return co_out;
}

void CT_TaggedStoryFile::sv_WriteStory(std::string_view co_Key, std::string_view co_Location,
                                       std::string_view co_Content, std::string& co_Into) {
    co_Into += kco_Start;
    co_Into += co_Key;
    co_Into += '"';
    co_Into += kco_Location;
    co_Into += co_Location;
    co_Into += "\">";
    co_Into += co_Content;
    co_Into += kco_End;
    co_Into += "\n\n\n";
}
