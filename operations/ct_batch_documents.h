// The documents of a batch, from what the user named: documents, folders searched for
// documents, and a list of paths (a file or standard input, one path a line). Each document
// comes with the subfolder of the batch folder its file belongs in, so that documents of one
// name in different folders never share a file. The result is a plain list of copies.
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "operations/ct_command_options.h"

class CT_BatchDocuments {
  public:
    struct CT_Entry {
        std::string s_Path;       // as the user or the search spelled it
        std::string s_Subfolder;  // empty, or "a/b" without a slash at either end
    };

    // Named documents come as they are named, with no subfolder. A named folder gives the
    // documents in it (in its subfolders too with b_Recursive) that match an include pattern
    // and no exclude pattern, sorted by their path below the folder, each in the subfolder it
    // was found in. A listed path (s_FilesFrom, "-" for co_StandardInput) keeps its folders
    // below the batch folder, as given.
    // Refuses, raising e_FileOpen with a text naming the folder, or the list and its line: a
    // folder or a list that cannot be read, a listed path holding a NUL byte or climbing out
    // with "..". Never follows a link to a folder while searching, so a loop of links ends.
    static std::vector<CT_Entry> sco_Find(const CT_CommandOptions& co_Options,
                                          std::istream& co_StandardInput);

  private:
    static void sv_Search(const std::string& s_Folder, const CT_CommandOptions& co_Options,
                          std::vector<CT_Entry>& co_Found);
    static void sv_ReadList(std::istream& co_List, const std::string& s_Name,
                            std::vector<CT_Entry>& co_Found);
};
