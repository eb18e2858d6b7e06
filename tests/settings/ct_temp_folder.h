// A fresh folder under the system's temporary folder for one test, removed with everything in
// it when the test ends; and whole-file reads and writes for asserting on bytes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class CT_TempFolder {
  public:
    CT_TempFolder() {
        std::string s_template = (std::filesystem::temp_directory_path() / "storyport-h6-XXXXXX");
        s_Path = ::mkdtemp(s_template.data());
    }
    ~CT_TempFolder() {
        std::error_code co_ignored;
        std::filesystem::remove_all(s_Path, co_ignored);
    }
    CT_TempFolder(const CT_TempFolder&) = delete;
    CT_TempFolder& operator=(const CT_TempFolder&) = delete;

    std::string s_File(const std::string& s_Name) const { return s_Path + "/" + s_Name; }

    static std::string s_Read(const std::string& s_File) {
        std::ifstream co_in(s_File, std::ios::binary);
        std::ostringstream co_bytes;
        co_bytes << co_in.rdbuf();
        return co_bytes.str();
    }
    static void v_Write(const std::string& s_File, const std::string& s_Bytes) {
        std::ofstream(s_File, std::ios::binary) << s_Bytes;
    }

  private:
    std::string s_Path;
};
