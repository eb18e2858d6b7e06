// The bash completion script of the storyport command, written from the same definition of
// commands and options as its --help, so that a command or option added there completes at
// once. Holds nothing.
#pragma once

#include <string>

namespace CLI {
class App;
}  // namespace CLI

class CT_BashCompletion {
  public:
    // A script that bash sources: it completes the commands, the options of the command typed
    // so far, the values of options that take one of a list, folders and file names.
    static std::string ss_Write(const CLI::App& co_App);
};
