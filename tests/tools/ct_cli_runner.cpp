#include "tests/tools/ct_cli_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>
#include <utility>

extern char** environ;

namespace {
constexpr int gi_TimeoutMs = 120 * 1000;

std::vector<std::string> co_Environment(const std::map<std::string, std::string>& co_Env) {
    std::vector<std::string> co_result;
    for (char** ppc_var = environ; *ppc_var != nullptr; ++ppc_var) {
        const std::string s_var = *ppc_var;
        if (co_Env.count(s_var.substr(0, s_var.find('='))) == 0) {
            co_result.push_back(s_var);
        }
    }
    for (const auto& [s_name, s_value] : co_Env) {
        co_result.push_back(s_name + "=" + s_value);
    }
    return co_result;
}

std::vector<char*> co_Pointers(std::vector<std::string>& co_Texts) {
    std::vector<char*> co_pointers;
    for (std::string& s_text : co_Texts) {
        co_pointers.push_back(s_text.data());
    }
    co_pointers.push_back(nullptr);
    return co_pointers;
}
}  // namespace

CT_CliRunner::CT_CliRunner(std::string s_Folder) : s_Folder(std::move(s_Folder)) {
    co_Env["XDG_CONFIG_HOME"] = this->s_Folder + "/config";
    co_Env["STORYPORT_PAUSE_AT_STEP"] = "";  // never paused unless a test asks
}

void CT_CliRunner::v_SetEnv(const std::string& s_Name, const std::string& s_Value) {
    co_Env[s_Name] = s_Value;
}

CT_CliResult CT_CliRunner::co_Run(const std::vector<std::string>& co_Args) const {
    return co_Spawn(STORYPORT_CLI, co_Args, "");
}

CT_CliResult CT_CliRunner::co_RunProgram(const std::string& s_Program,
                                         const std::vector<std::string>& co_Args) const {
    return co_Spawn(s_Program, co_Args, "");
}

CT_CliResult CT_CliRunner::co_RunAndInterrupt(const std::vector<std::string>& co_Args,
                                              const std::string& s_Marker, int i_Signal) const {
    return co_Spawn(STORYPORT_CLI, co_Args, s_Marker, i_Signal);
}

CT_CliResult CT_CliRunner::co_Spawn(const std::string& s_Program,
                                    const std::vector<std::string>& co_Args,
                                    const std::string& s_Marker, int i_Signal) const {
    int ai_out[2];
    int ai_err[2];
    if (pipe2(ai_out, O_CLOEXEC) != 0 || pipe2(ai_err, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    posix_spawn_file_actions_t co_actions;
    posix_spawn_file_actions_init(&co_actions);
    posix_spawn_file_actions_adddup2(&co_actions, ai_out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&co_actions, ai_err[1], STDERR_FILENO);
    posix_spawn_file_actions_addchdir_np(&co_actions, s_Folder.c_str());
    std::vector<std::string> co_argv = {s_Program};
    co_argv.insert(co_argv.end(), co_Args.begin(), co_Args.end());
    std::vector<std::string> co_envp = co_Environment(co_Env);
    std::vector<char*> co_argPointers = co_Pointers(co_argv);
    std::vector<char*> co_envPointers = co_Pointers(co_envp);
    pid_t i_pid = 0;
    const int i_spawned = posix_spawn(&i_pid, s_Program.c_str(), &co_actions, nullptr,
                                      co_argPointers.data(), co_envPointers.data());
    posix_spawn_file_actions_destroy(&co_actions);
    close(ai_out[1]);
    close(ai_err[1]);
    if (i_spawned != 0) {
        close(ai_out[0]);
        close(ai_err[0]);
        throw std::runtime_error("cannot run " + s_Program + ": " + std::strerror(i_spawned));
    }
    CT_CliResult co_result;
    pollfd aco_fds[2] = {{ai_out[0], POLLIN, 0}, {ai_err[0], POLLIN, 0}};
    std::string* apco_texts[2] = {&co_result.s_Out, &co_result.s_Err};
    bool b_interrupted = s_Marker.empty();
    int i_open = 2;
    while (i_open > 0) {
        if (poll(aco_fds, 2, gi_TimeoutMs) <= 0) {
            kill(i_pid, SIGKILL);
            break;
        }
        for (int i_at = 0; i_at < 2; ++i_at) {
            if (aco_fds[i_at].fd < 0 || aco_fds[i_at].revents == 0) {
                continue;
            }
            char ac_buffer[4096];
            const ssize_t n_read = read(aco_fds[i_at].fd, ac_buffer, sizeof ac_buffer);
            if (n_read <= 0) {
                close(aco_fds[i_at].fd);
                aco_fds[i_at].fd = -1;
                --i_open;
                continue;
            }
            apco_texts[i_at]->append(ac_buffer, static_cast<std::size_t>(n_read));
        }
        if (!b_interrupted && co_result.s_Err.find(s_Marker + "\n") != std::string::npos) {
            kill(i_pid, i_Signal);
            b_interrupted = true;
        }
    }
    for (const pollfd& co_fd : aco_fds) {
        if (co_fd.fd >= 0) {
            close(co_fd.fd);
        }
    }
    int i_wait = 0;
    waitpid(i_pid, &i_wait, 0);
    co_result.i_Status = WIFEXITED(i_wait) ? WEXITSTATUS(i_wait) : 128 + WTERMSIG(i_wait);
    return co_result;
}
