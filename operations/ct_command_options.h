// What the user asked for on the command line, once parsed and checked: the command and its
// operands and options. A plain value filled by CT_CommandLine and read by the commands.
#pragma once

#include <string>
#include <vector>

struct CT_CommandOptions {
    enum et_Command {
        e_None,
        e_List,
        e_Export,
        e_Import,
        e_Check,
        e_Map,
        e_Pseudo,
        e_BatchExport,
        e_BatchImport,
        e_SettingsShow,
        e_SettingsSet,
    };

    et_Command eo_Command = e_None;

    // Operands.
    std::string s_Document;
    std::string s_Tagged;
    std::vector<std::string> co_Documents;  // batch
    std::string s_SettingsKey;
    std::string s_SettingsValue;
    std::string s_MapFile;      // map: the picture to write
    std::string s_CheckFile;    // map: a translation whose fit to show
    std::string s_Pseudo;       // pseudo: the pseudo-translated copy to write
    std::string s_PseudoXliff;  // pseudo: the same as a translated XLIFF file, when not empty

    // Options. An empty s_Folder or s_Order means "as the settings say".
    std::string s_Folder;
    std::string s_Order;  // "top-down", "left-right", "reading", "structure" or "custom"
    std::string s_OrderFile;
    bool b_IgnorePasteBoard = false;
    // Which frames' stories go out: "all", "visible" or "printable" (the default, empty), and
    // when not empty only frames on layers of these names.
    std::string s_Layers;
    std::vector<std::string> co_LayerNames;
    bool b_All = false;   // list: show the stories left out too
    std::string s_Notes;  // "keep" (the default, empty) or "skip"
    bool b_Json = false;
    bool b_Keys = false;
    bool b_NoBackup = false;
    unsigned n_Jobs = 0;    // batch: worker processes; 0 means one per core
    bool b_Worker = false;  // batch: a worker of a parallel batch (CT_BatchOperation)
    // batch: folders among co_Documents are searched, their subfolders too with b_Recursive,
    // for files matching co_Include (empty: *.idml) and no pattern of co_Exclude; s_FilesFrom
    // lists documents, one a line ("-": standard input). See CT_BatchDocuments.
    bool b_Recursive = false;
    std::vector<std::string> co_Include;
    std::vector<std::string> co_Exclude;
    std::string s_FilesFrom;
    unsigned n_Threads = 0;           // a document's stories are read on; 0: as the session chooses
    double d_MaxGrowth = 15;          // percent
    double d_Expand = -1;             // pseudo: percent; negative: the target language's growth
    bool b_AllowDifferences = false;  // import although keys stand twice or stories are missing
    bool b_Force = false;             // export over a translation or a file of another kind
    std::string s_SettingsFile;
    std::string s_LogFile;
    bool b_Quiet = false;       // no progress line and only errors and warnings in the log
    bool b_NoProgress = false;  // no progress line

    // XLIFF. An empty s_Format means "as the file's extension says".
    std::string s_Format;  // "tagged" or "xliff"
    std::string s_SourceLanguage;
    std::string s_TargetLanguage;
    bool b_NoTarget = false;
    // "all": every formatting run a code of its own; empty or "fewer": runs a reader cannot
    // tell apart are one.
    std::string s_Codes;
    // No maxwidth on the units, which otherwise carry their share of their frames' room.
    bool b_NoLimits = false;
    bool b_RequireTranslated = false;
};
