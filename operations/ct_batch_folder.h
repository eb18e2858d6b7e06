// The folder of a batch's tagged files, as the kernel's runner and the file system each spell
// its files. The runner joins the folder and a document's name with a backslash; on this
// system a backslash is a character of a file name like any other, so that one separator, and
// nothing else, becomes "/" before a path reaches the file system. A document found in a
// subfolder of a folder the user named has its file in the same subfolder here. Holds copies.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/common/ct_string.h"

class CT_BatchFolder {
  public:
    explicit CT_BatchFolder(std::string s_Folder);

    // What the runner is given: the folder with the backslash it would otherwise append, so
    // that a folder whose own name ends in a backslash keeps it.
    CT_String co_ForRunner() const { return CT_String((s_Folder + "\\").c_str()); }
    // The start of every path the runner makes, and what the file system calls it.
    std::string s_RunnerPrefix() const { return s_Folder + "\\"; }
    std::string s_OsPrefix() const;
    // A path the runner made, as the file system names it; any other path as it is.
    std::string s_OsPath(std::string_view co_RunnerPath) const;

    // The document's file goes into s_Subfolder ("a/b") of the folder. The document is known
    // by the file it is, however it is spelled.
    void v_PlaceIn(const std::string& s_Document, const std::string& s_Subfolder);
    const std::string& s_SubfolderOf(const std::string& s_Document) const;
    // The runner's path of the document's file as the file system names it, in the
    // document's subfolder.
    std::string s_FileOf(std::string_view co_RunnerPath, const std::string& s_Document) const;
    // The document's tagged file as the file system names it (asks the runner, which must
    // have been given co_ForRunner).
    std::string s_TaggedFileOf(const std::string& s_Document) const;

  private:
    std::string s_Folder;
    std::unordered_map<std::string, std::string> co_Subfolders;  // by canonical document path
};
