// The storyport module for Python: the operations of include/storyport/operations.h as
// functions that take keyword arguments like the command's options and give plain Python
// values (dicts, lists, strings, numbers). Every failure raises storyport.Error with the line
// the command would print ("storyport: error: ..." or the kernel's "Error: ..."). The log lines
// an operation writes come back as the "log" list of its result.
//
// The kernel has one host per process, so calls run one at a time (a lock); each runs without
// the interpreter's lock, so other Python threads go on meanwhile.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <mutex>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/common/ct_errors.h"
#include "storyport/operations.h"

namespace py = pybind11;

namespace {
std::mutex go_OneSession;

// What becomes storyport.Error: the line the command would print.
struct CT_PythonError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The session's log, line by line.
std::vector<std::string> co_Lines(const std::string& s_Text) {
    std::vector<std::string> co_lines;
    std::istringstream co_in(s_Text);
    for (std::string s_line; std::getline(co_in, s_line);) {
        co_lines.push_back(s_line);
    }
    return co_lines;
}

// Runs f_Call in a session over the options with the interpreter's lock released. An error
// the call raises, or an outcome other than the accepted ones, becomes storyport.Error with the
// error line; the outcome and the log are given back.
template <class F>
et_ExitStatus eo_Run(const CT_CommandOptions& co_Options, std::vector<std::string>& co_Log,
                     F f_Call, std::initializer_list<et_ExitStatus> co_Accepted = {e_ExitOk}) {
    std::string s_error;
    std::ostringstream co_out;
    et_ExitStatus eo_status = e_ExitError;
    {
        py::gil_scoped_release co_released;
        const std::lock_guard<std::mutex> co_lock(go_OneSession);
        try {
            CT_Session co_session(co_Options, co_out);
            try {
                eo_status = f_Call(co_session);
            } catch (et_ErrorCode) {
                co_session.v_LogError(CT_Errors::cco_GetLastError());
            } catch (const std::exception& co_error) {
                co_session.v_LogError(CT_String(co_error.what()));
            }
            co_session.co_GetSink().v_Finish();
            s_error = co_session.co_GetSink().s_GetLastErrorLine();
        } catch (et_ErrorCode) {
            s_error = CT_Session::ss_CommandErrorPrefix() +
                      std::string(CT_Errors::cco_GetLastError().sv());
        } catch (const std::exception& co_error) {
            // A session that could not begin says why as every other failure does.
            s_error = CT_Session::ss_CommandErrorPrefix() + co_error.what();
        }
        CT_Errors::v_ResetError();
    }
    co_Log = co_Lines(co_out.str());
    for (et_ExitStatus eo_accepted : co_Accepted) {
        if (eo_status == eo_accepted) {
            return eo_status;
        }
    }
    if (s_error.empty()) {
        s_error = eo_status == e_ExitCanceled ? "storyport: cancelled"
                                              : "storyport: error: the operation failed";
    }
    throw CT_PythonError(s_error);
}

py::dict co_Tally(const CT_StoryTally& co_Tally) {
    py::dict co_dict;
    co_dict["words"] = co_Tally.co_All.n_Words;
    co_dict["characters"] = co_Tally.co_All.n_Characters;
    co_dict["repeated_words"] = co_Tally.co_Repeated.n_Words;
    co_dict["repeated_characters"] = co_Tally.co_Repeated.n_Characters;
    return co_dict;
}

// Runs an operation that writes a file and gives back what it wrote (pc_Key: s_Value) and its
// log: export and map, which have nothing else to say.
py::dict co_RunWriting(const CT_CommandOptions& co_Options, et_ExitStatus (*pf_Run)(CT_Session&),
                       const char* pc_Key, const std::string& s_Value) {
    std::vector<std::string> co_log;
    eo_Run(co_Options, co_log, pf_Run);
    py::dict co_result;
    co_result[pc_Key] = s_Value;
    co_result["log"] = co_log;
    return co_result;
}

// The options every operation on one document takes: which stories, in which order.
void v_SetSelection(CT_CommandOptions& co_Options, const std::optional<std::string>& s_Order,
                    const std::optional<std::string>& s_OrderFile, bool b_IgnorePasteboard,
                    const std::optional<std::string>& s_Layers,
                    const std::vector<std::string>& co_LayerNames,
                    const std::optional<std::string>& s_Settings) {
    co_Options.s_Order = s_Order.value_or("");
    co_Options.s_OrderFile = s_OrderFile.value_or("");
    co_Options.b_IgnorePasteBoard = b_IgnorePasteboard;
    co_Options.s_Layers = s_Layers.value_or("");
    co_Options.co_LayerNames = co_LayerNames;
    co_Options.s_SettingsFile = s_Settings.value_or("");
}

py::dict co_ListStories(const std::string& s_Document, const std::optional<std::string>& s_Order,
                        const std::optional<std::string>& s_OrderFile, bool b_IgnorePasteboard,
                        const std::optional<std::string>& s_Layers,
                        const std::vector<std::string>& co_LayerNames, bool b_All,
                        const std::optional<std::string>& s_Settings) {
    CT_CommandOptions co_options;
    co_options.eo_Command = CT_CommandOptions::e_List;
    co_options.s_Document = s_Document;
    co_options.b_All = b_All;
    v_SetSelection(co_options, s_Order, s_OrderFile, b_IgnorePasteboard, s_Layers, co_LayerNames,
                   s_Settings);
    CT_StoryListing co_listing;
    std::vector<std::string> co_log;
    eo_Run(co_options, co_log, [&](CT_Session& co_Session) {
        co_listing = CT_Operations::sco_List(co_Session);
        return e_ExitOk;
    });
    py::list co_stories;
    for (const CT_ListedStory& co_story : co_listing.co_Stories) {
        py::dict co_item = co_Tally(co_story.co_Tally);
        co_item["number"] = co_story.n_Number;
        co_item["key"] = co_story.s_Key;
        co_item["label"] = co_story.s_Label;
        co_item["preview"] = co_story.s_Preview;
        co_item["page"] = co_story.i_Page;
        co_item["group"] = co_story.s_Group;
        co_item["x"] = co_story.i_X;
        co_item["y"] = co_story.i_Y;
        co_item["layer"] = co_story.s_Layer;
        co_item["export"] = co_story.s_LeftOut.empty();
        co_item["left_out"] =
            co_story.s_LeftOut.empty() ? py::object(py::none()) : py::str(co_story.s_LeftOut);
        co_stories.append(co_item);
    }
    py::dict co_result;
    co_result["document"] = co_listing.s_Document;
    co_result["order"] = co_listing.s_Order;
    co_result["order_file"] = co_listing.s_OrderFile.empty()
                                  ? py::object(py::none())
                                  : py::object(py::str(co_listing.s_OrderFile));
    co_result["stories"] = co_stories;
    co_result["total"] = co_Tally(co_listing.co_Total);
    co_result["log"] = co_log;
    return co_result;
}

// The options of the calls that export: what goes out and how.
void v_SetExport(CT_CommandOptions& co_Options, const std::optional<std::string>& s_Format,
                 const std::optional<std::string>& s_TargetLanguage,
                 const std::optional<std::string>& s_SourceLanguage, bool b_NoTarget,
                 bool b_NoLimits, bool b_SkipNotes, bool b_Force) {
    co_Options.s_Format = s_Format.value_or("");
    co_Options.s_TargetLanguage = s_TargetLanguage.value_or("");
    co_Options.s_SourceLanguage = s_SourceLanguage.value_or("");
    co_Options.b_NoTarget = b_NoTarget;
    co_Options.b_NoLimits = b_NoLimits;
    co_Options.s_Notes = b_SkipNotes ? "skip" : "";
    co_Options.b_Force = b_Force;
}

void v_RequireTargetLanguage(const CT_CommandOptions& co_Options, bool b_Xliff) {
    if (b_Xliff && co_Options.s_TargetLanguage.empty()) {
        throw CT_PythonError(
            "storyport: an XLIFF export needs target_lang, the language to translate into");
    }
}

py::dict co_Export(const std::string& s_Document, const std::string& s_File,
                   const std::optional<std::string>& s_Format,
                   const std::optional<std::string>& s_TargetLanguage,
                   const std::optional<std::string>& s_SourceLanguage, bool b_NoTarget,
                   bool b_NoLimits, const std::optional<std::string>& s_Order,
                   const std::optional<std::string>& s_OrderFile, bool b_IgnorePasteboard,
                   const std::optional<std::string>& s_Layers,
                   const std::vector<std::string>& co_LayerNames, bool b_SkipNotes, bool b_Force,
                   const std::optional<std::string>& s_Settings) {
    CT_CommandOptions co_options;
    co_options.eo_Command = CT_CommandOptions::e_Export;
    co_options.s_Document = s_Document;
    co_options.s_Tagged = s_File;
    v_SetExport(co_options, s_Format, s_TargetLanguage, s_SourceLanguage, b_NoTarget, b_NoLimits,
                b_SkipNotes, b_Force);
    v_SetSelection(co_options, s_Order, s_OrderFile, b_IgnorePasteboard, s_Layers, co_LayerNames,
                   s_Settings);
    v_RequireTargetLanguage(co_options, CT_Session::sb_IsXliff(co_options, s_File));
    return co_RunWriting(co_options, CT_Operations::seo_Export, "file", s_File);
}

py::dict co_Pseudo(const std::string& s_Document, const std::string& s_Out,
                   const std::optional<double>& d_Expand,
                   const std::optional<std::string>& s_TargetLanguage,
                   const std::optional<std::string>& s_Xliff, bool b_Force,
                   const std::optional<std::string>& s_Settings) {
    CT_CommandOptions co_options;
    co_options.eo_Command = CT_CommandOptions::e_Pseudo;
    co_options.s_Document = s_Document;
    co_options.s_Pseudo = s_Out;
    co_options.d_Expand = d_Expand.value_or(-1);
    co_options.s_TargetLanguage = s_TargetLanguage.value_or("");
    co_options.s_PseudoXliff = s_Xliff.value_or("");
    co_options.b_Force = b_Force;
    v_SetSelection(co_options, std::nullopt, std::nullopt, false, std::nullopt, {}, s_Settings);
    std::vector<std::string> co_log;
    eo_Run(co_options, co_log, CT_Operations::seo_Pseudo);
    py::dict co_result;
    co_result["file"] = s_Out;
    co_result["xliff"] = s_Xliff ? py::object(py::str(*s_Xliff)) : py::object(py::none());
    co_result["log"] = co_log;
    return co_result;
}

// The options of the calls that read a translation.
void v_SetTranslation(CT_CommandOptions& co_Options, const std::string& s_Document,
                      const std::string& s_File, const std::optional<std::string>& s_Format,
                      bool b_RequireTranslated, const std::optional<std::string>& s_Layers,
                      const std::optional<std::string>& s_Settings) {
    co_Options.s_Document = s_Document;
    co_Options.s_Tagged = s_File;
    co_Options.s_Format = s_Format.value_or("");
    co_Options.b_RequireTranslated = b_RequireTranslated;
    v_SetSelection(co_Options, std::nullopt, std::nullopt, false, s_Layers, {}, s_Settings);
}

py::dict co_Check(const std::string& s_Document, const std::string& s_File, double d_MaxGrowth,
                  const std::optional<std::string>& s_Format, bool b_RequireTranslated,
                  const std::optional<std::string>& s_Layers,
                  const std::optional<std::string>& s_Settings) {
    CT_CommandOptions co_options;
    co_options.eo_Command = CT_CommandOptions::e_Check;
    co_options.d_MaxGrowth = d_MaxGrowth;
    v_SetTranslation(co_options, s_Document, s_File, s_Format, b_RequireTranslated, s_Layers,
                     s_Settings);
    CT_CheckResult co_check;
    std::vector<std::string> co_log;
    // A check that finds the file and the document apart has done its work: it says so in its
    // result; only a check that could not be made raises.
    eo_Run(co_options, co_log, [&](CT_Session& co_Session) {
        co_check = CT_Operations::sco_Check(co_Session);
        return e_ExitOk;
    });
    py::list co_findings;
    for (const CT_CheckRecord& co_record : co_check.co_Records) {
        py::dict co_item;
        co_item["kind"] = co_record.s_Kind;
        co_item["story"] = co_record.s_Story;
        co_item["unit"] = co_record.s_Unit;
        co_item["code"] = co_record.s_Code;
        co_item["line"] =
            co_record.n_Line == 0 ? py::object(py::none()) : py::int_(co_record.n_Line);
        co_item["message"] = co_record.s_Message;
        co_findings.append(co_item);
    }
    py::list co_fit;
    for (const CT_StoryFit& co_story : co_check.co_Fit.co_GetStories()) {
        py::dict co_item;
        co_item["number"] = co_story.n_Number;
        co_item["key"] = co_story.s_Key;
        co_item["label"] = co_story.s_Label;
        co_item["source_characters"] = co_story.n_Source;
        co_item["translated_characters"] =
            co_story.b_InFile ? py::object(py::int_(co_story.n_Translated)) : py::none();
        co_item["frames"] = co_story.n_Frames;
        co_item["page"] = co_story.s_Page;
        co_item["frame"] = co_story.s_Frame;
        co_item["prints"] = co_story.b_Prints;
        const bool b_measured = co_story.eo_Verdict != et_FitVerdict::e_Unmeasured;
        co_item["capacity"] =
            b_measured ? py::object(py::int_(co_story.n_Capacity)) : py::object(py::none());
        co_item["verdict"] = CT_FitReport::spc_Verdict(co_story.eo_Verdict);
        co_item["at_risk"] = co_story.b_AtRisk;
        co_fit.append(co_item);
    }
    py::dict co_result;
    co_result["clean"] = co_check.eo_Status == e_ExitOk;
    co_result["status"] = static_cast<int>(co_check.eo_Status);
    co_result["findings"] = co_findings;
    co_result["lines"] = co_check.co_Lines;
    co_result["verdict"] = co_check.s_Verdict;
    co_result["fit"] = co_fit;
    co_result["log"] = co_log;
    return co_result;
}

py::dict co_Import(const std::string& s_Document, const std::string& s_File, bool b_Backup,
                   bool b_AllowDifferences, const std::optional<std::string>& s_Format,
                   bool b_RequireTranslated, const std::optional<std::string>& s_Layers,
                   const std::optional<std::string>& s_Settings) {
    CT_CommandOptions co_options;
    co_options.eo_Command = CT_CommandOptions::e_Import;
    co_options.b_NoBackup = !b_Backup;
    co_options.b_AllowDifferences = b_AllowDifferences;
    v_SetTranslation(co_options, s_Document, s_File, s_Format, b_RequireTranslated, s_Layers,
                     s_Settings);
    std::vector<std::string> co_log;
    CT_ImportResult co_import;
    eo_Run(co_options, co_log, [&](CT_Session& co_Session) {
        co_import = CT_Operations::sco_Import(co_Session);
        return co_import.eo_Status;
    });
    py::dict co_result;
    co_result["document"] = s_Document;
    co_result["stories"] = co_import.n_Stories;
    co_result["backup"] =
        co_import.s_Backup.empty() ? py::object(py::none()) : py::str(co_import.s_Backup);
    co_result["log"] = co_log;
    return co_result;
}

py::dict co_Map(const std::string& s_Document, const std::string& s_Out,
                const std::optional<std::string>& s_CheckFile, double d_MaxGrowth,
                const std::optional<std::string>& s_Order,
                const std::optional<std::string>& s_OrderFile, bool b_IgnorePasteboard,
                const std::optional<std::string>& s_Settings) {
    if (!CT_Operations::sb_IsMapName(s_Out)) {
        throw CT_PythonError("storyport: the picture's name must end in .svg or .html");
    }
    CT_CommandOptions co_options;
    co_options.eo_Command = CT_CommandOptions::e_Map;
    co_options.s_Document = s_Document;
    co_options.s_MapFile = s_Out;
    co_options.s_CheckFile = s_CheckFile.value_or("");
    co_options.d_MaxGrowth = d_MaxGrowth;
    v_SetSelection(co_options, s_Order, s_OrderFile, b_IgnorePasteboard, std::nullopt, {},
                   s_Settings);
    return co_RunWriting(co_options, CT_Operations::seo_Map, "file", s_Out);
}

// A batch reports each document that failed in its log and goes on with the others: like check,
// it has done its work then and says so in its result ("clean" false, status 1). Only a batch
// that cannot run (no folder, a kind other than export or import, a cancel) raises.
py::dict co_Batch(const std::string& s_Kind, const std::vector<std::string>& co_Documents,
                  const std::optional<std::string>& s_Folder,
                  const std::optional<std::string>& s_Format,
                  const std::optional<std::string>& s_TargetLanguage,
                  const std::optional<std::string>& s_SourceLanguage, bool b_NoTarget,
                  bool b_NoLimits, const std::optional<std::string>& s_Order,
                  bool b_IgnorePasteboard, const std::optional<std::string>& s_Layers,
                  const std::vector<std::string>& co_LayerNames, bool b_SkipNotes, bool b_Force,
                  bool b_Backup, bool b_AllowDifferences, bool b_RequireTranslated,
                  const std::optional<std::string>& s_Settings) {
    if (s_Kind != "export" && s_Kind != "import") {
        throw CT_PythonError("storyport: a batch is an \"export\" or an \"import\", not \"" +
                             s_Kind + "\"");
    }
    const bool b_export = s_Kind == "export";
    CT_CommandOptions co_options;
    co_options.eo_Command =
        b_export ? CT_CommandOptions::e_BatchExport : CT_CommandOptions::e_BatchImport;
    co_options.co_Documents = co_Documents;
    co_options.s_Folder = s_Folder.value_or("");
    v_SetExport(co_options, s_Format, s_TargetLanguage, s_SourceLanguage, b_NoTarget, b_NoLimits,
                b_SkipNotes, b_Force);
    co_options.b_NoBackup = !b_Backup;
    co_options.b_AllowDifferences = b_AllowDifferences;
    co_options.b_RequireTranslated = b_RequireTranslated;
    v_SetSelection(co_options, s_Order, std::nullopt, b_IgnorePasteboard, s_Layers, co_LayerNames,
                   s_Settings);
    v_RequireTargetLanguage(co_options, b_export && co_options.s_Format == "xliff");
    std::vector<std::string> co_log;
    const et_ExitStatus eo_status =
        eo_Run(co_options, co_log, CT_Operations::seo_Batch, {e_ExitOk, e_ExitError});
    py::dict co_result;
    co_result["clean"] = eo_status == e_ExitOk;
    co_result["status"] = static_cast<int>(eo_status);
    co_result["log"] = co_log;
    return co_result;
}
}  // namespace

PYBIND11_MODULE(storyport, co_Module) {
    co_Module.doc() =
        "storyport: IDML documents prepared for translation (story lists, tagged and XLIFF "
        "export, check, import, maps, batches)";
    py::register_exception<CT_PythonError>(co_Module, "Error");
    using namespace pybind11::literals;
    co_Module.def(
        "list_stories", &co_ListStories, "document"_a, py::kw_only(), "order"_a = py::none(),
        "order_file"_a = py::none(), "ignore_pasteboard"_a = false, "layers"_a = py::none(),
        "layer_names"_a = std::vector<std::string>(), "all"_a = false, "settings"_a = py::none(),
        "The stories of the document in story order, with their counts.");
    co_Module.def("export", &co_Export, "document"_a, "file"_a, py::kw_only(),
                  "format"_a = py::none(), "target_lang"_a = py::none(),
                  "source_lang"_a = py::none(), "no_target"_a = false, "no_limits"_a = false,
                  "order"_a = py::none(), "order_file"_a = py::none(),
                  "ignore_pasteboard"_a = false, "layers"_a = py::none(),
                  "layer_names"_a = std::vector<std::string>(), "skip_notes"_a = false,
                  "force"_a = false, "settings"_a = py::none(),
                  "Exports the document's stories into a tagged story file or XLIFF (.xlf).");
    co_Module.def("pseudo", &co_Pseudo, "document"_a, "out"_a, py::kw_only(),
                  "expand"_a = py::none(), "target_lang"_a = py::none(), "xliff"_a = py::none(),
                  "force"_a = false, "settings"_a = py::none(),
                  "Writes a pseudo-translated copy of the document (and, with xliff, the same "
                  "as a translated XLIFF file).");
    co_Module.def("check", &co_Check, "document"_a, "file"_a, py::kw_only(), "max_growth"_a = 15.0,
                  "format"_a = py::none(), "require_translated"_a = false, "layers"_a = py::none(),
                  "settings"_a = py::none(),
                  "Compares a translation with the document and tries the import on a copy.");
    co_Module.def("import_", &co_Import, "document"_a, "file"_a, py::kw_only(), "backup"_a = true,
                  "allow_differences"_a = false, "format"_a = py::none(),
                  "require_translated"_a = false, "layers"_a = py::none(),
                  "settings"_a = py::none(),
                  "Imports a translation into the document, which is left as it was on failure.");
    co_Module.def("map", &co_Map, "document"_a, "out"_a, py::kw_only(), "check"_a = py::none(),
                  "max_growth"_a = 15.0, "order"_a = py::none(), "order_file"_a = py::none(),
                  "ignore_pasteboard"_a = false, "settings"_a = py::none(),
                  "Draws the story order on the pages into OUT.svg or OUT.html.");
    co_Module.def("batch", &co_Batch, "kind"_a, "documents"_a, py::kw_only(),
                  "folder"_a = py::none(), "format"_a = py::none(), "target_lang"_a = py::none(),
                  "source_lang"_a = py::none(), "no_target"_a = false, "no_limits"_a = false,
                  "order"_a = py::none(), "ignore_pasteboard"_a = false, "layers"_a = py::none(),
                  "layer_names"_a = std::vector<std::string>(), "skip_notes"_a = false,
                  "force"_a = false, "backup"_a = true, "allow_differences"_a = false,
                  "require_translated"_a = false, "settings"_a = py::none(),
                  "Exports each document to FOLDER/NAME.stt (.xlf with format=\"xliff\"), or "
                  "imports each from it, one after another; a document that fails is named in "
                  "the log and the others go on.");
}
