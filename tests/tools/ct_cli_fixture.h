// A fresh folder per test holding copies of the project's sample document and its French
// translation and the config/ folder of the runs' settings, a runner for the storyport binary
// in that folder, and file helpers. The folder is removed when the test goes.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/platform/common/ct_temp_folder.h"
#include "tests/tools/ct_cli_runner.h"

class CT_CliTest : public ::testing::Test {
  protected:
    void SetUp() override;

    std::string s_Path(const std::string& s_Name) const { return s_Folder + "/" + s_Name; }
    std::string s_Read(const std::string& s_Name) const { return co_Temp.co_Get(s_Name); }
    void v_Write(const std::string& s_Name, const std::string& s_Text) const {
        co_Temp.v_Put(s_Name, s_Text);
    }
    bool b_Exists(const std::string& s_Name) const;
    // Every file under the folder (config/ left out), hidden ones included, by relative path,
    // with its bytes; a symbolic link shows as "-> TARGET". Compared before and after a run,
    // it shows that nothing was changed, made or left behind.
    std::map<std::string, std::string> co_Snapshot() const;
    // Names in the folder, sorted, hidden ones included.
    std::vector<std::string> co_Listing(const std::string& s_Name = "") const;
    void v_CopyIn(const std::string& s_From, const std::string& s_Name) const;

    CT_CliResult co_Run(const std::vector<std::string>& co_Args) const {
        return pco_Runner->co_Run(co_Args);
    }
    // The lines of a text.
    static std::vector<std::string> sco_Lines(const std::string& s_Text);
    // Lines of the text that start with "Error: " (the kernel's) or "storyport: error: ".
    static std::vector<std::string> sco_ErrorLines(const std::string& s_Text);
    // The story keys of a tagged file, in file order.
    static std::vector<std::string> sco_TaggedKeys(const std::string& s_Tagged);

    // The package with its first story's own header giving another time than the archive's
    // directory says: it reads, but it cannot be saved.
    static std::string ss_AtOdds(std::string s_Package);
    static std::string ss_Sample(const std::string& s_Name);      // a file under samples/
    static std::string ss_ThirdParty(const std::string& s_Name);  // a third-party IDML sample

    CT_TempFolder co_Temp;
    std::string s_Folder;
    std::unique_ptr<CT_CliRunner> pco_Runner;
};
