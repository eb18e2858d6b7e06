// The lines of a settings file that the settings reader would not read as the user meant: it
// looks for each key in a fixed order and only forward, and takes any text as a number, so a
// line edited by hand can be skipped or misread without a word. Each such line is named with
// the file, its number and what becomes of it. The words 'settings show' prints for the two
// numbers are read as those numbers: the check turns them into digits before the reader sees
// the file. Stateless.
#pragma once

#include <string>
#include <vector>

class CT_SettingsFileCheck {
  public:
    // "FILE:LINE: WHAT" for each line at fault, in file order; none for a file as the settings
    // writer or 'settings show' writes it. A file that cannot be read has none (the reader
    // reports it).
    static std::vector<std::string> sco_Problems(const std::string& s_Path);
    // The same for a file's bytes, named s_Path in the lines.
    static std::vector<std::string> sco_ProblemsIn(const std::string& s_Bytes,
                                                   const std::string& s_Path);
    // The bytes with each word that stands for a number ("left-right", "yes") in a line the
    // reader takes replaced by that number, the rest as it was: what the reader can read.
    static std::string ss_Numbered(const std::string& s_Bytes);

  private:
    struct CT_Line;
    static std::vector<CT_Line> sco_Lines(const std::string& s_Bytes);
};
