// A fresh folder under the system's temporary folder for one test, removed with its content
// when the test ends, and whole-file reads and writes for asserting on bytes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class CT_TempFolder {
  public:
    CT_TempFolder() {
        std::string s_template = std::filesystem::temp_directory_path() / "storyport-XXXXXX";
        s_Path = ::mkdtemp(s_template.data());
    }
    ~CT_TempFolder() { std::filesystem::remove_all(s_Path); }

    std::string s_File(const std::string& s_Name) const { return s_Path + "/" + s_Name; }
    static std::string s_Read(const std::string& s_File) {
        std::ostringstream co_bytes;
        co_bytes << std::ifstream(s_File, std::ios::binary).rdbuf();
        return co_bytes.str();
    }
    static void v_Write(const std::string& s_File, const std::string& s_Bytes) {
        std::ofstream(s_File, std::ios::binary) << s_Bytes;
    }

  private:
    std::string s_Path;
};
