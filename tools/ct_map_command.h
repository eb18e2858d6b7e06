// "storyport map DOC OUT.svg|OUT.html": a picture of the document's story order, drawn from
// the IDML host's layout, written to a file that replaces the old one only when it is whole.
#pragma once

#include <string>

#include "tools/ct_exit_status.h"

class CT_ToolSession;

class CT_MapCommand {
  public:
    // Kernel, host and file errors pass to the caller.
    static et_ExitStatus seo_Run(CT_ToolSession& co_Session);

    // By the extension, in any case: .svg, or .html and .htm for a page.
    static bool sb_IsPictureName(const std::string& s_Path);
    static bool sb_IsHtml(const std::string& s_Path);
};
