// The storyport command line: commands, operands, options and their --help texts, parsed into
// a CT_CommandOptions. Only this class knows the command-line parser.
#pragma once

#include <ostream>

#include "operations/ct_command_options.h"

class CT_CommandLine {
  public:
    // Parses the arguments. Returns -1 when the command is to run with co_Options; otherwise
    // the exit status to end with: 0 after --help (printed on co_Out), 2 after a usage error
    // (explained on co_Err).
    static int si_Parse(int i_Argc, const char* const* ppc_Argv, CT_CommandOptions& co_Options,
                        std::ostream& co_Out, std::ostream& co_Err);
};
