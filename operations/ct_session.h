// Everything one run of operations on documents sets up around the kernel: the IDML host,
// installed as the host application; the log stream, whose lines go to the caller's stream (and
// the log file the options name); the user's settings; and what the user asked for. The session
// owns all of it and uninstalls the host when it ends. The command adds its terminal (progress
// line, Ctrl-C) through the host and the sink; a program or the Python module uses it as it is.
// One session at a time per process: the kernel has one host.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>

#include "operations/ct_command_options.h"
#include "operations/ct_log_sink.h"
#include "platform/common/ct_log_stream.h"
#include "platform/common/ct_string.h"
#include "platform/host/idml/ct_idml_host.h"
#include "settings/ct_settings.h"
#include "settings/ct_story_list_settings.h"

class CT_OrderFile;
class CT_StoryOrder;
class CT_TaggedFile;

class CT_Session {
  public:
    // co_Options must outlive the session; log lines go to co_Out, which must too. Raises
    // e_FileOpen when the log file is one the options name for something else, not a log, or
    // cannot be opened.
    CT_Session(const CT_CommandOptions& co_Options, std::ostream& co_Out);
    virtual ~CT_Session();
    CT_Session(const CT_Session&) = delete;
    CT_Session& operator=(const CT_Session&) = delete;

    const CT_CommandOptions& co_GetOptions() const { return co_Options; }
    // The threads a document, or a translation file, is read on (--threads).
    unsigned n_Threads() const;
    // Readies the host for the operation (the session's own command to begin with): which
    // frames' stories it lists, whether it keeps their trees, whether it tells the stories left
    // out. Every operation of CT_Operations begins so, which lets one session run several.
    void v_Begin(CT_CommandOptions::et_Command eo_Command);
    CT_LogStream& co_GetLog() { return co_Log; }
    CT_LogSink& co_GetSink() { return co_Sink; }
    CT_IdmlHost& co_GetHost() { return co_Host; }

    // Where the user's cancel request is read (the host's poll, and between steps of an
    // operation); none by default.
    void v_SetCancelSource(std::function<bool()> co_Source);
    bool b_IsCanceled() const { return co_Cancel && co_Cancel(); }

    // The program a parallel batch starts as its workers, which must be the storyport command;
    // none by default, and then a batch runs its documents one after another in this process.
    void v_SetWorkerProgram(std::string s_Program) { s_WorkerProgram = std::move(s_Program); }
    const std::string& s_GetWorkerProgram() const { return s_WorkerProgram; }

    // The settings file's path: the options' one, or the default place.
    const std::string& s_GetSettingsPath() const { return s_SettingsPath; }
    // Loads the settings file. When it is missing the defaults are used, and only 'settings
    // set' makes the file. Errors reading or making a file the user named pass to the caller;
    // for the default place they are logged as a warning and the defaults are used, so that a
    // read-only home does not stop the tool.
    CT_Settings& co_LoadSettings();
    // Whether the loaded file holds lines its reader skips or misreads (each was logged as a
    // warning when it was loaded).
    bool b_AreSettingsMisread() const { return b_SettingsMisread; }
    // The loaded story list settings with the options' order and pasteboard applied. It lives
    // as long as the session, as the kernel's documents require.
    const CT_StoryListSettings& cco_GetStoryListSettings();

    // True when the file is to be written or read as XLIFF: the options' format says so, or
    // names none and the file's name ends in .xlf or .xliff.
    static bool sb_IsXliff(const CT_CommandOptions& co_Options, const std::string& s_Path);

    // Makes the host list, for the document at the path, every story the tagged file (or XLIFF
    // file) names, whatever the layers chosen: an import finds each story of the file by its
    // key.
    void v_ListStoriesOfFile(const std::string& s_Document, const std::string& s_Tagged);
    // The same for a tagged file already read: its stories as the import will take them.
    void v_ListStoriesOf(const std::string& s_Document, const CT_TaggedFile& co_Tagged);
    // Lets the host import the tagged file's stories as it reads the document at the path
    // (CT_IdmlHost::v_ImportAhead), for an import of that file into it that follows, and gives
    // them by key, as views into the file's text that the pointer keeps.
    CT_IdmlHost::CT_Contents pco_ImportAhead(const std::string& s_Document,
                                             const CT_TaggedFile& co_Tagged);

    // Arranges the story order by the file and warns about keys that no story has.
    void v_ApplyOrderFile(const CT_OrderFile& co_File, CT_StoryOrder& co_Order);
    // The order file in force: the one the options name, else, when the order in force is
    // custom, the document's own order file beside it (NAME.idml.order, what the HTML map
    // saves) if there is one; empty for none.
    std::string s_GetOrderFile();
    // The document's own order file: its path with ".order" added.
    static std::string ss_OrderFileBeside(const std::string& s_Document);
    // Whether the story order is arranged outside the kernel: by the options' order reading
    // or structure, or by an order file.
    bool b_IsArranged();
    // Arranges the active document's story order by the options' order reading or structure,
    // then by the order file when there is one.
    void v_Arrange(CT_StoryOrder& co_Order, const CT_OrderFile* pco_File);
    // The name of the order in force as the command line spells it: "reading" or "structure"
    // when one of them arranged the order (and no order file followed), else the kernel's kind.
    std::string s_OrderInForce(const CT_StoryOrder& co_Order) const;

    // Until called again with null, error lines that name a story of the file are shown with
    // the file, the line and the column of the fault. The file must outlive that time.
    void v_LocateErrorsIn(const CT_TaggedFile* pco_File);
    // Writes the error line for the text: "storyport: error: ...".
    void v_LogError(const CT_String& co_Text);
    // Writes a line of the operation's own.
    void v_LogLine(const std::string& s_Line);
    // The start of the kernel's error line, "Error: ".
    static std::string ss_ErrorPrefix();
    // The start of every error line of an operation itself, "storyport: error: ".
    static std::string ss_CommandErrorPrefix() { return "storyport: error: "; }

  private:
    // Loads the file through the kernel's reader, with its words read as their numbers.
    void v_LoadSettingsFile();
    // Warns of each line of the settings file that is not read as it stands.
    void v_CheckSettingsFile();
    // Raises e_FileOpen when the log file is a file the command works on or plainly no log.
    void v_CheckLogFile() const;

    const CT_CommandOptions& co_Options;
    CT_LogSink co_Sink;
    std::ostream co_LogOutput;
    CT_LogStream co_Log;
    CT_IdmlHost co_Host;
    std::function<bool()> co_Cancel;
    std::string s_SettingsPath;
    std::string s_WorkerProgram;
    std::unique_ptr<CT_Settings> pco_Settings;
    bool b_SettingsMisread = false;
    CT_StoryListSettings co_StoryListSettings;
};
