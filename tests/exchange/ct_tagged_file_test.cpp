// A tagged story file read from a stream a block at a time gives the stories the whole file
// gives, whichever block boundary a story or a tag straddles, and refuses what it refuses.
#include "exchange/ct_tagged_file.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
std::vector<std::string> co_Visits(const std::string& s_File, bool b_Stream) {
    std::vector<std::string> co_visits;
    const CT_TaggedStoryFile::CT_Visit f_visit =
        [&](std::string_view co_Key, std::string_view co_Location, std::string_view co_Content) {
            co_visits.push_back(std::string(co_Key) + "|" + std::string(co_Location) + "|" +
                                std::string(co_Content));
        };
    if (b_Stream) {
        std::istringstream co_in(s_File);
        CT_TaggedStoryFile::sv_ForEach(co_in, f_visit);
    } else {
        CT_TaggedStoryFile::sv_ForEach(s_File, f_visit);
    }
    return co_visits;
}
}  // namespace

TEST(CT_TaggedFileTest, AStreamGivesWhatTheWholeFileGives) {
    std::vector<CT_TaggedStory> co_stories;
    // Sizes around a block (a megabyte) and smaller ones in between, so that boundaries fall
    // in contents, in start tags and in end tags.
    for (std::size_t n = 0; n < 400; ++n) {
        const std::size_t n_size = n % 97 == 0 ? (std::size_t{1} << 20) + n : 3000 + n * 7;
        co_stories.push_back({"u" + std::to_string(n), "P" + std::to_string(n % 5),
                              std::string(n_size, static_cast<char>('a' + n % 26)) + "\n"});
    }
    const std::string s_file = CT_TaggedStoryFile::s_Write(co_stories, "<OPEN>\n", "</CLOSE>\n");
    const std::vector<std::string> co_whole = co_Visits(s_file, false);
    ASSERT_EQ(co_whole.size(), co_stories.size());
    EXPECT_EQ(co_Visits(s_file, true), co_whole);

    // Cut short inside the last story: refused either way.
    const std::string s_cut = s_file.substr(0, s_file.size() - 40);
    EXPECT_THROW(co_Visits(s_cut, false), std::invalid_argument);
    EXPECT_THROW(co_Visits(s_cut, true), std::invalid_argument);
}
