// The command's options for XLIFF files: the format of a file (--format, else its
// extension), the languages of an export, --no-target, --codes, --no-limits and
// --require-translated. Declares them
// on the commands that take them and checks them once parsed. Stateless.
#pragma once

#include <ostream>
#include <string>

#include "operations/ct_command_options.h"

namespace CLI {
class App;
}

class CT_XliffOptions {
  public:
    static void sv_AddFormat(CLI::App& co_Command, CT_CommandOptions& co_Options);
    static void sv_AddExport(CLI::App& co_Command, CT_CommandOptions& co_Options);
    static void sv_AddImport(CLI::App& co_Command, CT_CommandOptions& co_Options);
    // After parsing: 0 when the options fit together, else 2 with the reason on co_Err.
    static int si_Check(const CT_CommandOptions& co_Options, std::ostream& co_Err);
};
