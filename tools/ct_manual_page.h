// The manual page of the storyport command (man storyport), written from the same definition
// of commands and options as its --help, so that the two cannot drift apart. Holds nothing.
#pragma once

#include <string>

namespace CLI {
class App;
}  // namespace CLI

class CT_ManualPage {
  public:
    // The page in roff, for section 1, of co_App and every command under it; s_Version names
    // the release in the page's footer.
    static std::string ss_Write(const CLI::App& co_App, const std::string& s_Version);
};
