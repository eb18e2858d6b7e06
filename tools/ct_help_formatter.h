// The help text of every storyport command, installed on the command-line parser (which owns
// it): usage, description, commands, operands, options and the command's own notes and
// examples, in plain words and filled to the width it is given.
#pragma once

#include <CLI/CLI.hpp>

#include <cstddef>
#include <string>

class CT_HelpFormatter : public CLI::Formatter {
  public:
    explicit CT_HelpFormatter(std::size_t n_Width) : n_Width(n_Width) {}

    std::string make_help(const CLI::App* pco_App, std::string s_Name,
                          CLI::AppFormatMode eo_Mode) const override;

    // The width of the terminal on standard output, or 80 when it is not a terminal.
    static std::size_t sn_TerminalWidth();

  private:
    std::size_t n_Width;
};
