// The folders that hold every temporary of one run of the system: one beside each document or
// file it writes (".storyport-HOST-PID-START") and one under the user's own temporary folder
// ($TMPDIR/storyport-UID/storyport-HOST-PID-START, the user's folder of mode 0700). A name says
// which machine and which process made it, the process by its id and its start time, so that a
// later run can tell the folder of a run that was killed from that of a run still going, or of
// another machine sharing the folder, and remove only the first. A folder beside a file lives
// while an object of this class uses it, and goes with the last, with what it holds; the
// temporary folder lives as long as the process. What killed runs left goes with the next run
// that looks in its folder. Safe to use from several threads.
#pragma once

#include <string>

class CT_RunFolder {
  public:
    // Uses this run's folder in s_Folder, made (mode 0700) on first use after the folders of
    // ended runs of this machine there are removed. s_GetPath is empty, with errno set, when
    // the folder cannot be made.
    explicit CT_RunFolder(const std::string& s_Folder);
    // The last object to use the folder removes it, with whatever is left in it.
    ~CT_RunFolder();
    CT_RunFolder(const CT_RunFolder&) = delete;
    CT_RunFolder& operator=(const CT_RunFolder&) = delete;

    // The folder, with a trailing "/"; empty when it could not be made.
    const std::string& s_GetPath() const { return s_Path; }

    // This run's folder under the user's temporary folder ($TMPDIR, else /tmp), with a
    // trailing "/". Raises e_FileWrite naming the folder when it cannot be made, or when the
    // user's folder is not the user's own folder closed to others.
    static std::string ss_Temporary();
    // The user's temporary folder for the system: $TMPDIR/storyport-UID.
    static std::string ss_UserTemporary();

    // Removes the run folders in s_Folder of this machine's processes that have ended (an id
    // that runs again under a later start time counts as ended). Never a live run's, never
    // another machine's; failures are ignored.
    static void sv_Sweep(const std::string& s_Folder);
    // sv_Sweep of the user's temporary folder.
    static void sv_SweepTemporary();

  private:
    std::string s_Folder;
    std::string s_Path;
};
