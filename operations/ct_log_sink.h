// Where the log stream of every operation ends up: the caller's stream (standard error for the
// command) and, when the user asks for it, a log file, line by line. Before a line goes out the
// caller may erase what it drew (the command's progress line), so that log lines and the bar
// never mix. Paths of working copies are shown as the user's own paths. It also counts the
// kernel's error lines and keeps the last one, which is how an operation learns that an export
// or import it called ran into an error the kernel caught and logged, and what it said.
//
// The sink owns the log file; the caller's stream must outlive the sink.
#pragma once

#include <fstream>
#include <functional>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

class CT_LogSink : public std::streambuf {
  public:
    // co_ErrorPrefixes: how error lines start, the kernel's ("Error: ") and the command's.
    CT_LogSink(std::ostream& co_Out, std::vector<std::string> co_ErrorPrefixes);
    ~CT_LogSink() override;
    CT_LogSink(const CT_LogSink&) = delete;
    CT_LogSink& operator=(const CT_LogSink&) = delete;

    // Appends every line to the file as well. Raises e_FileOpen naming the file on failure.
    void v_OpenFile(const std::string& s_Path);
    // Called before each line goes out; an empty function stops that.
    void v_SetBeforeLine(std::function<void()> co_BeforeLine);
    // Shows s_To wherever a line holds s_From.
    void v_AddRewrite(const std::string& s_From, const std::string& s_To);
    // Shows s_To wherever a line holds s_From once every other rewrite and the filter are done:
    // for the files that stand in for the standard streams, whose paths the others show.
    void v_AddLastRewrite(const std::string& s_From, const std::string& s_To);
    // A path as the log shows it (a stand-in for a stream by the stream's name), for output
    // that names the files the command worked on.
    std::string s_Shown(std::string s_Path) const;
    // While on, only error lines, warnings and the command's own "storyport: " lines reach the
    // caller's stream; the log file still gets every line.
    void v_SetQuiet(bool b_Quiet) { this->b_Quiet = b_Quiet; }
    // Passes every line through the function before it is shown; an empty one stops that.
    void v_SetFilter(std::function<std::string(const std::string&)> co_Filter);

    // While on, the lines that follow an error line are kept back instead of shown, so that
    // the command can tell what the failure means before, or in place of, what follows it.
    void v_HoldAfterError(bool b_Hold);
    // The lines kept back so far; they are forgotten here.
    std::vector<std::string> co_TakeHeld();

    // Error lines written so far.
    unsigned n_GetErrorLines() const { return n_ErrorLines; }
    // The last error line written, as shown; empty before the first.
    const std::string& s_GetLastErrorLine() const { return s_LastErrorLine; }
    // Ends a line the kernel left open (the batch summary has no line end of its own).
    void v_Finish();

  protected:
    int_type overflow(int_type i_Char) override;
    std::streamsize xsputn(const char* pc_Text, std::streamsize n_Count) override;

  private:
    static void sv_Rewrite(std::string& s_Line,
                           const std::vector<std::pair<std::string, std::string>>& co_Rewrites);
    void v_EmitLine();

    std::ostream& co_Out;
    std::vector<std::string> co_ErrorPrefixes;
    std::ofstream co_File;
    std::function<void()> co_BeforeLine;
    std::vector<std::pair<std::string, std::string>> co_Rewrites;
    std::vector<std::pair<std::string, std::string>> co_LastRewrites;
    std::function<std::string(const std::string&)> co_Filter;
    bool b_Quiet = false;
    std::string s_Line;
    unsigned n_ErrorLines = 0;
    std::string s_LastErrorLine;
    bool b_Hold = false;
    bool b_HoldNow = false;
    std::vector<std::string> co_Held;
};
