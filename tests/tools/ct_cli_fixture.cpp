#include "tests/tools/ct_cli_fixture.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

void CT_CliTest::SetUp() {
    ASSERT_FALSE(co_Temp.co_Path.empty());
    s_Folder = co_Temp.co_Path;
    pco_Runner = std::make_unique<CT_CliRunner>(s_Folder);
    // The runs keep their settings in config/; it is there from the start so that listings
    // before and after a run compare the user's files only.
    fs::create_directory(s_Path("config"));
    v_CopyIn(ss_Sample("brochure.idml"), "brochure.idml");
    v_CopyIn(ss_Sample("fr/brochure.stt"), "brochure.fr.stt");
}

bool CT_CliTest::b_Exists(const std::string& s_Name) const {
    return fs::exists(s_Path(s_Name));
}

std::map<std::string, std::string> CT_CliTest::co_Snapshot() const {
    std::map<std::string, std::string> co_files;
    for (auto it_entry = fs::recursive_directory_iterator(s_Folder);
         it_entry != fs::recursive_directory_iterator(); ++it_entry) {
        const std::string s_name = fs::relative(it_entry->path(), s_Folder).string();
        if (s_name == "config") {
            it_entry.disable_recursion_pending();
        } else if (it_entry->is_symlink()) {
            co_files[s_name] = "-> " + fs::read_symlink(it_entry->path()).string();
        } else if (it_entry->is_regular_file()) {
            co_files[s_name] = s_Read(s_name);
        } else {
            co_files[s_name + "/"] = "";
        }
    }
    return co_files;
}

std::vector<std::string> CT_CliTest::co_Listing(const std::string& s_Name) const {
    std::vector<std::string> co_names;
    for (const fs::directory_entry& co_entry : fs::directory_iterator(s_Path(s_Name))) {
        co_names.push_back(co_entry.path().filename().string());
    }
    std::sort(co_names.begin(), co_names.end());
    return co_names;
}

void CT_CliTest::v_CopyIn(const std::string& s_From, const std::string& s_Name) const {
    fs::copy_file(s_From, s_Path(s_Name), fs::copy_options::overwrite_existing);
}

std::vector<std::string> CT_CliTest::sco_Lines(const std::string& s_Text) {
    std::vector<std::string> co_lines;
    std::istringstream co_stream(s_Text);
    for (std::string s_line; std::getline(co_stream, s_line);) {
        co_lines.push_back(s_line);
    }
    return co_lines;
}

std::vector<std::string> CT_CliTest::sco_ErrorLines(const std::string& s_Text) {
    std::vector<std::string> co_lines;
    for (const std::string& s_line : sco_Lines(s_Text)) {
        if (s_line.rfind("Error: ", 0) == 0 || s_line.rfind("storyport: error: ", 0) == 0) {
            co_lines.push_back(s_line);
        }
    }
    return co_lines;
}

std::string CT_CliTest::ss_AtOdds(std::string s_Package) {
    const std::size_t n_header = s_Package.find("Stories/") - 30;
    EXPECT_EQ(s_Package.compare(n_header, 4, "PK\x03\x04"), 0);
    s_Package[n_header + 10] ^= 0x21;  // the entry's own time of day
    return s_Package;
}

std::string CT_CliTest::ss_Sample(const std::string& s_Name) {
    return std::string(STORYPORT_SOURCE_DIR) + "/samples/" + s_Name;
}

std::string CT_CliTest::ss_ThirdParty(const std::string& s_Name) {
    return std::string(STORYPORT_TEST_DATA) + "/idml/" + s_Name;
}

std::vector<std::string> CT_CliTest::sco_TaggedKeys(const std::string& s_Tagged) {
    std::vector<std::string> co_keys;
    const std::string s_start = "<STORY NAME=\"";
    for (std::size_t n_at = s_Tagged.find(s_start); n_at != std::string::npos;
         n_at = s_Tagged.find(s_start, n_at + 1)) {
        const std::size_t n_key = n_at + s_start.size();
        co_keys.push_back(s_Tagged.substr(n_key, s_Tagged.find('"', n_key) - n_key));
    }
    return co_keys;
}
