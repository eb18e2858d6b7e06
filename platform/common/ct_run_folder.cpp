#include "platform/common/ct_run_folder.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <system_error>

#include "platform/common/ct_errors.h"

namespace fs = std::filesystem;

namespace {
const std::string gs_Tool = "storyport-";

// The start time of a process in clock ticks after boot (field 22 of /proc/PID/stat), empty
// when the system keeps no such file. A killed process stays in /proc as a zombie until its
// parent (or init, for a worker whose batch was killed) reaps it: b_Ended says so.
std::string s_StartOf(long i_Pid, bool& b_Ended) {
    b_Ended = false;
    std::ifstream co_stat("/proc/" + std::to_string(i_Pid) + "/stat");
    std::string s_line;
    if (!std::getline(co_stat, s_line)) {
        return std::string();
    }
    // The command's name, in parentheses, may hold spaces: fields are counted after it.
    std::size_t n_at = s_line.rfind(')');
    if (n_at != std::string::npos && n_at + 2 < s_line.size()) {
        b_Ended = s_line[n_at + 2] == 'Z' || s_line[n_at + 2] == 'X';
    }
    for (int n_field = 2; n_field < 22 && n_at != std::string::npos; ++n_field) {
        n_at = s_line.find(' ', n_at + 1);
    }
    if (n_at == std::string::npos) {
        return std::string();
    }
    return s_line.substr(n_at + 1, s_line.find(' ', n_at + 1) - n_at - 1);
}

std::string s_Host() {
    char ac_host[256] = {};
    if (::gethostname(ac_host, sizeof ac_host - 1) != 0 || ac_host[0] == '\0') {
        return "localhost";
    }
    std::string s_host(ac_host);
    for (char& c : s_host) {
        c = c == '/' ? '_' : c;
    }
    return s_host;
}

bool b_Digits(const std::string& s_Text) {
    return !s_Text.empty() && s_Text.find_first_not_of("0123456789") == std::string::npos;
}

// The folders this process made, by the folder they stand in, with how many objects use each;
// what is left of them goes when the process ends.
class CT_Registry {
  public:
    CT_Registry() : s_Prefix(gs_Tool + s_Host() + "-") { v_Begin(); }
    ~CT_Registry() {
        if (::getpid() != i_Pid) {
            return;
        }
        for (const auto& co_made : co_Made) {
            std::error_code co_error;
            fs::remove_all(co_made.second.s_Path, co_error);
        }
    }

    // b_Counted: the folder goes when its last user leaves, else with the process.
    std::string s_Enter(const std::string& s_Folder, bool b_Hidden, bool b_Counted) {
        const std::lock_guard<std::mutex> co_lock(co_Mutex);
        v_BeginInChild();
        const auto co_found = co_Made.find(s_Folder);
        if (co_found != co_Made.end()) {
            co_found->second.n_Users += b_Counted ? 1 : 0;
            return co_found->second.s_Path;
        }
        v_Sweep(s_Folder);
        const std::string s_run = s_Folder + (b_Hidden ? "." : "") + s_Name + "/";
        if (::mkdir(s_run.c_str(), 0700) != 0 && errno != EEXIST) {
            return std::string();
        }
        co_Made.emplace(s_Folder, ct_Made{s_run, b_Counted ? 1u : 0u, b_Counted});
        return s_run;
    }

    void v_Leave(const std::string& s_Folder) {
        const std::lock_guard<std::mutex> co_lock(co_Mutex);
        v_BeginInChild();
        const auto co_found = co_Made.find(s_Folder);
        if (co_found == co_Made.end() || !co_found->second.b_Counted ||
            --co_found->second.n_Users > 0) {
            return;
        }
        std::error_code co_error;
        fs::remove_all(co_found->second.s_Path, co_error);
        co_Made.erase(co_found);
    }

    void v_Sweep(const std::string& s_Folder) const {
        std::error_code co_error;
        for (fs::directory_iterator it_entry(s_Folder, co_error);
             !co_error && it_entry != fs::directory_iterator(); it_entry.increment(co_error)) {
            if (b_Ended(it_entry->path().filename().string())) {
                std::error_code co_ignored;
                fs::remove_all(it_entry->path(), co_ignored);
            }
        }
    }

  private:
    struct ct_Made {
        std::string s_Path;
        unsigned n_Users;
        bool b_Counted;
    };

    void v_Begin() {
        i_Pid = ::getpid();
        bool b_ended = false;
        s_Name = s_Prefix + std::to_string(i_Pid) + "-" + s_StartOf(i_Pid, b_ended);
        co_Made.clear();
    }
    // A child made by fork is a run of its own, whose parent's folders are not its to remove.
    void v_BeginInChild() {
        if (::getpid() != i_Pid) {
            v_Begin();
        }
    }

    // Whether the name is that of a run folder of this machine whose process has ended.
    bool b_Ended(std::string s_Name) const {
        if (!s_Name.empty() && s_Name[0] == '.') {
            s_Name.erase(0, 1);
        }
        if (s_Name.compare(0, s_Prefix.size(), s_Prefix) != 0) {
            return false;
        }
        const std::string s_process = s_Name.substr(s_Prefix.size());
        const std::size_t n_dash = s_process.find('-');
        const std::string s_pid = s_process.substr(0, n_dash);
        const std::string s_start = n_dash == std::string::npos ? "" : s_process.substr(n_dash + 1);
        if (!b_Digits(s_pid) || s_pid.size() > 9 || (!s_start.empty() && !b_Digits(s_start))) {
            return false;
        }
        const long i_pid = std::strtol(s_pid.c_str(), nullptr, 10);
        bool b_zombie = false;
        const std::string s_now = s_StartOf(i_pid, b_zombie);
        if (!s_now.empty()) {
            return b_zombie || s_now != s_start;
        }
        // Without /proc only the id tells.
        return ::kill(static_cast<pid_t>(i_pid), 0) != 0 && errno == ESRCH;
    }

    std::mutex co_Mutex;
    pid_t i_Pid = 0;
    const std::string s_Prefix;
    std::string s_Name;
    std::map<std::string, ct_Made> co_Made;
};

CT_Registry& co_Registry() {
    static CT_Registry sco_registry;
    return sco_registry;
}

std::string s_SystemTemporary() {
    const char* pc_folder = std::getenv("TMPDIR");
    return pc_folder != nullptr && *pc_folder != '\0' ? pc_folder : "/tmp";
}
// The folder as the registry knows it: one spelling for each folder (absolute, links
// followed), so that two spellings never make two entries of which either removes the one
// folder they share; with a trailing "/".
std::string s_Key(const std::string& s_Folder) {
    std::error_code co_error;
    const fs::path co_folder = s_Folder.empty() ? fs::path(".") : fs::path(s_Folder);
    std::string s_key = fs::weakly_canonical(fs::absolute(co_folder, co_error), co_error).string();
    if (co_error || s_key.empty()) {
        s_key = co_folder.string();
    }
    return s_key.back() == '/' ? s_key : s_key + "/";
}

}  // namespace

CT_RunFolder::CT_RunFolder(const std::string& s_Folder) : s_Folder(s_Key(s_Folder)) {
    s_Path = co_Registry().s_Enter(this->s_Folder, true, true);
}

CT_RunFolder::~CT_RunFolder() {
    if (!s_Path.empty()) {
        co_Registry().v_Leave(s_Folder);
    }
}

std::string CT_RunFolder::ss_UserTemporary() {
    return s_SystemTemporary() + "/" + gs_Tool + std::to_string(::getuid());
}

std::string CT_RunFolder::ss_Temporary() {
    const std::string s_user = ss_UserTemporary();
    if (::mkdir(s_user.c_str(), 0700) != 0 && errno != EEXIST) {
        CT_Errors::v_ThrowError(e_FileWrite, CT_String(("cannot make the temporary folder \"" +
                                                        s_user + "\": " + std::strerror(errno))
                                                           .c_str()));
    }
    // Another user may have made it first, to read or replace what this one leaves there.
    struct stat co_info {};
    if (::lstat(s_user.c_str(), &co_info) != 0 || !S_ISDIR(co_info.st_mode) ||
        co_info.st_uid != ::getuid() || (co_info.st_mode & 077) != 0) {
        CT_Errors::v_ThrowError(
            e_FileWrite, CT_String(("the temporary folder \"" + s_user +
                                    "\" is not a folder of your own closed to others: remove it")
                                       .c_str()));
    }
    const std::string s_run = co_Registry().s_Enter(s_Key(s_user), false, false);
    if (s_run.empty()) {
        CT_Errors::v_ThrowError(
            e_FileWrite,
            CT_String(
                ("cannot make a folder in \"" + s_user + "\": " + std::strerror(errno)).c_str()));
    }
    return s_run;
}

void CT_RunFolder::sv_Sweep(const std::string& s_Folder) {
    co_Registry().v_Sweep(s_Key(s_Folder));
}

void CT_RunFolder::sv_SweepTemporary() {
    sv_Sweep(ss_UserTemporary());
}
