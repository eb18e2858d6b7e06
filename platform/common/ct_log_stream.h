// The log that operations write their lines to: a caller's output stream, or a file opened for
// appending. Lines end with cco_Eof. The stream or file is owned by the caller or the log.
// Every write is flushed at once; a log file that cannot be written raises e_FileWrite.
#pragma once

#include <fstream>
#include <ostream>
#include <string_view>

#include "platform/common/ct_string.h"

class CT_LogStream {
  public:
    // Writes to the stream, which must outlive the log.
    explicit CT_LogStream(std::ostream& co_Stream);
    // Appends to the file; raises e_FileOpen naming the path when it cannot be opened.
    explicit CT_LogStream(const CT_String& co_Path);
    CT_LogStream(const CT_LogStream&) = delete;
    CT_LogStream& operator=(const CT_LogStream&) = delete;

    void v_SetName(const CT_String& co_Name);
    const CT_String& cco_GetName() const;

    CT_LogStream& operator<<(const char* pc_Text);
    CT_LogStream& operator<<(const CT_String& co_Text);
    // The end-of-line text of the log.
    const CT_String& cco_Eof() const;
    // Writes the local date and time, without a line end.
    void v_PrintTime();
    // Writes a line of dashes, with its line end.
    void v_Separator();

  private:
    // Writes the text and flushes; a log file that cannot be written raises e_FileWrite.
    void v_Put(std::string_view co_Text);

    std::ofstream co_File;
    std::ostream* pco_Stream;
    CT_String co_Name;
    CT_String co_Eof;
    CT_String co_Path;  // of the log file, for error texts; empty for a caller's stream
};
