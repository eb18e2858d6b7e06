// "-" as a file name: where a translation is read (import, check, map --check) it is standard
// input, and where an exported file is written (export, pseudo --xliff) standard output. Each
// "-" in the options is replaced before the session starts by a file of this run's temporary
// folder: filled from standard input at once, or copied to standard output once the command has
// succeeded, so that a failed export writes nothing there. The object owns those files and
// removes them; the log shows them as "standard input" and "standard output".
#pragma once

#include <string>

#include "operations/ct_command_options.h"

class CT_LogSink;

class CT_StandardStreams {
  public:
    // Replaces "-" in co_Options, which must outlive the object. Reads standard input to its end
    // when a translation is to be read from it, refusing none of it here: the command that reads
    // the file judges it as it judges any. Raises e_FileRead naming it when reading fails.
    // A file read from standard input has the extension of its kind (.xlf for XLIFF), so that
    // it is read as what it holds unless --format says otherwise.
    explicit CT_StandardStreams(CT_CommandOptions& co_Options);
    ~CT_StandardStreams();
    CT_StandardStreams(const CT_StandardStreams&) = delete;
    CT_StandardStreams& operator=(const CT_StandardStreams&) = delete;

    // Makes the sink show the files under the names of the streams.
    void v_ShowIn(CT_LogSink& co_Sink) const;
    // Copies the exported file to standard output (whose errors main checks at the end).
    void v_WriteOutput() const;

  private:
    std::string s_Input;   // the file that holds standard input, empty when none
    std::string s_Output;  // the file to copy to standard output, empty when none
};
