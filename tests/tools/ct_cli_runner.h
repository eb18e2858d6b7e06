// Runs the built storyport binary as a user would, in a folder of the test's own, and collects
// what it writes and its exit status. The settings go to a config folder inside that folder, so
// no test touches the real user's settings.
#pragma once

#include <csignal>
#include <map>
#include <string>
#include <vector>

struct CT_CliResult {
    int i_Status = -1;  // the exit status; 128 + the signal when a signal ended the process
    std::string s_Out;
    std::string s_Err;
};

class CT_CliRunner {
  public:
    explicit CT_CliRunner(std::string s_Folder);

    // An environment variable for the runs to come.
    void v_SetEnv(const std::string& s_Name, const std::string& s_Value);

    CT_CliResult co_Run(const std::vector<std::string>& co_Args) const;
    // Runs another program (a shell, a compiler) the same way.
    CT_CliResult co_RunProgram(const std::string& s_Program,
                               const std::vector<std::string>& co_Args) const;
    // Runs, and sends the signal once standard error holds s_Marker (a whole line's text).
    CT_CliResult co_RunAndInterrupt(const std::vector<std::string>& co_Args,
                                    const std::string& s_Marker, int i_Signal = SIGINT) const;

  private:
    CT_CliResult co_Spawn(const std::string& s_Program, const std::vector<std::string>& co_Args,
                          const std::string& s_Marker, int i_Signal = SIGINT) const;

    std::string s_Folder;
    std::map<std::string, std::string> co_Env;
};
