// The gate every import of the command passes before the kernel imports anything: the tagged
// file is read and checked (CT_TaggedFile) and compared with the document's stories
// (CT_ImportPreflight). Differences are shown as warnings; unless the user accepts them, the
// import is refused with one error line and nothing is changed.
#pragma once

#include <string>

class CT_StoryOrder;
class CT_TaggedFile;
class CT_Session;

class CT_ImportGate {
  public:
    // True when the import may go on. Errors of the file or an unknown key pass to the caller
    // as raised et_ErrorCode values.
    static bool sb_Admit(CT_Session& co_Session, const CT_TaggedFile& co_File,
                         CT_StoryOrder& co_Order, const std::string& s_Document);
};
