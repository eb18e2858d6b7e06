// The operations a user runs on IDML documents, for any program: list, export, check, import,
// map, batch. Each runs inside a CT_Session, which installs the IDML host, holds what was asked
// for (CT_CommandOptions: the document, the file, the order, the layers...) and writes the log
// lines the storyport command shows to the stream the caller gives it. The results are values
// the caller owns; nothing here keeps a document open after a call.
//
// Errors: a call that cannot start (a document that is missing, a folder or no IDML package, a file
// of the wrong kind, an order file that cannot be read) raises et_ErrorCode, with
// CT_Errors::cco_GetLastError saying why in the words the command prints after "storyport: error:
// ". A call that started logs what went wrong and returns e_ExitError; the session's sink keeps the
// last error line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "exchange/ct_document_count.h"
#include "map/ct_fit_report.h"
#include "map/ct_order_walk.h"
#include "operations/ct_command_options.h"
#include "operations/ct_exit_status.h"
#include "operations/ct_session.h"

// One story of a listing, in story order: its number, key, label, preview and page group, and
// then where it stands and what it counts.
struct CT_ListedStory : CT_OrderEntry {
    int i_Page = 0;  // -1 for master pages, 0 for the pasteboard
    int i_X = 0;     // the position of its first frame
    int i_Y = 0;
    std::string s_Layer;    // empty when the document names none
    std::string s_LeftOut;  // why it does not go out in an export; empty when it does
    CT_StoryTally co_Tally;
};

// A document's stories as a listing shows them.
struct CT_StoryListing {
    std::string s_Document;   // the document's file name
    std::string s_Order;      // the order in force: "top-down", "left-right", "reading", ...
    std::string s_OrderFile;  // the order file that arranged it, or empty
    std::vector<CT_ListedStory> co_Stories;
    bool b_Counted = false;  // the tallies were counted (not for a listing of keys)
    CT_StoryTally co_Total;  // over the stories that go out
};

// One thing check found. A story-level record has no unit, code or line.
struct CT_CheckRecord {
    std::string s_Kind;  // "document-stories", "story-not-in-file", an XLIFF finding's kind...
    std::string s_Story;
    std::string s_Unit;
    std::string s_Code;
    std::size_t n_Line = 0;  // of the file, from 1; 0 for none
    std::string s_Message;
};

// What check found: the comparison of file and document, the verdict and the fit.
struct CT_CheckResult {
    // e_ExitOk when an import would be clean, e_ExitDiffers when file and document do not hold
    // the same stories (or the file only differs), e_ExitError when the import would be refused
    // for an error in the file or a trial import refused a story.
    et_ExitStatus eo_Status = e_ExitOk;
    std::vector<CT_CheckRecord> co_Records;  // in the order found
    std::vector<std::string> co_Lines;       // the findings as the command shows them
    std::string s_Verdict;
    CT_FitReport co_Fit;
};

// What an import did.
struct CT_ImportResult {
    et_ExitStatus eo_Status = e_ExitOk;  // as seo_Import gives it
    unsigned n_Stories = 0;  // the stories that went into the document; 0 unless e_ExitOk
    std::string s_Backup;    // where the document as it was is kept; empty without a backup
};

class CT_Operations {
  public:
    // The stories of the options' document in story order (s_Order, the order file, the
    // layers, b_All), counted unless b_Keys asks for keys only. Writes nothing.
    static CT_StoryListing sco_List(CT_Session& co_Session);

    // Exports the document's stories into s_Tagged, as a tagged story file or as XLIFF
    // (CT_Session::sb_IsXliff), after refusing a target that is the document, a folder or a
    // file an export did not write (unless b_Force). Writes s_Tagged only.
    static et_ExitStatus seo_Export(CT_Session& co_Session);

    // Imports s_Tagged (tagged or XLIFF) into the document: on a working copy, after the gate
    // (the file is read whole and compared with the document; differences refuse the import
    // with e_ExitDiffers unless b_AllowDifferences). The document is replaced, after a backup
    // unless b_NoBackup, only when the import went through; otherwise it is left as it was.
    static et_ExitStatus seo_Import(CT_Session& co_Session);
    // The same import, with the count of stories it took and the backup it made.
    static CT_ImportResult sco_Import(CT_Session& co_Session);

    // Compares s_Tagged with the document, measures the fit (d_MaxGrowth) and tries the import
    // on a throw-away copy. Changes neither file.
    static CT_CheckResult sco_Check(CT_Session& co_Session);

    // Draws the story order on the pages into s_MapFile: an SVG picture, or an HTML page when
    // the name ends in .html or .htm; with s_CheckFile, stories at risk of overflowing are
    // marked. Writes s_MapFile only.
    static et_ExitStatus seo_Map(CT_Session& co_Session);
    // Writes s_Pseudo, a pseudo-translated copy of the document (d_Expand percent longer, or
    // as much as a translation into s_TargetLanguage usually grows), and with s_PseudoXliff the
    // same pseudo-translation as a translated XLIFF file, after refusing each target as an
    // export refuses its file (unless b_Force). The document is only read; nothing is written
    // unless everything is.
    static et_ExitStatus seo_Pseudo(CT_Session& co_Session);

    // With eo_Command e_BatchExport, exports each of co_Documents into its file in s_Folder (or
    // the settings' folder); with e_BatchImport, imports each from it. The files are DIR/NAME.stt,
    // or DIR/NAME.xlf with s_Format "xliff". An export writes those files only; an import works on
    // working copies and replaces only the documents whose own import went through, after a backup
    // unless b_NoBackup. e_ExitUsage when no folder is known. With a worker program set on
    // the session (the storyport command), n_Jobs other than 1 runs the documents in worker
    // processes; without one they run one after another here.
    static et_ExitStatus seo_Batch(CT_Session& co_Session);

    // The names seo_Map takes, by their ending in any case: .svg, or .html and .htm for a page
    // (sb_IsHtmlName). A name that is only the ending is none.
    static bool sb_IsMapName(const std::string& s_Path);
    static bool sb_IsHtmlName(const std::string& s_Path);
};
