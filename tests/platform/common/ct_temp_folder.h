// A fresh folder under the system's temporary folder for one test, removed with everything in
// it when the test ends, with small helpers to put bytes in files and read them back.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

class CT_TempFolder {
  public:
    CT_TempFolder() {
        std::string co_template = (std::filesystem::temp_directory_path() / "sp-test-XXXXXX");
        co_Path = ::mkdtemp(&co_template[0]) != nullptr ? co_template : std::string();
    }
    ~CT_TempFolder() {
        std::error_code co_ignored;
        std::filesystem::remove_all(co_Path, co_ignored);
    }
    CT_TempFolder(const CT_TempFolder&) = delete;
    CT_TempFolder& operator=(const CT_TempFolder&) = delete;

    std::string operator/(const std::string& co_Name) const { return co_Path + "/" + co_Name; }

    void v_Put(const std::string& co_Name, const std::string& co_Bytes) const {
        std::ofstream(*this / co_Name, std::ios::binary) << co_Bytes;
    }
    std::string co_Get(const std::string& co_Name) const {
        std::ifstream co_in(*this / co_Name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(co_in), {});
    }
    // The names in the folder, to see that no temporary was left behind.
    std::set<std::string> co_Names() const {
        std::set<std::string> co_names;
        for (const auto& co_entry : std::filesystem::directory_iterator(co_Path)) {
            co_names.insert(co_entry.path().filename().string());
        }
        return co_names;
    }

    std::string co_Path;
};
