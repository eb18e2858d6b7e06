// The part of an import or check that the XLIFF format adds. When the file given is XLIFF, it
// is read whole first (a file that cannot be read at all is refused with one error); once the
// document is open, its units are laid over the document's stories by their ids
// (CT_XliffPlacement) and the result is written as a tagged story file in a folder of its
// own, which the kernel's import then reads like any other; the folder goes when this object
// does. What the laying-over found is kept for check to show and for import to weigh: errors
// refuse the import, differences refuse it unless accepted, untranslated units are named (or
// refused with --require-translated). For a tagged story file nothing happens.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "exchange/ct_xliff_finding.h"

class CT_FileBytes;
class CT_Session;
class CT_XliffReader;

class CT_XliffImport {
  public:
    // Raises e_BadContent (naming the file) when the XLIFF file cannot be read at all.
    CT_XliffImport(CT_Session& co_Session, const std::string& s_File);
    ~CT_XliffImport();
    CT_XliffImport(const CT_XliffImport&) = delete;
    CT_XliffImport& operator=(const CT_XliffImport&) = delete;

    bool b_IsXliff() const { return b_Xliff; }
    // Whether the user's cancel stopped the reading: the file is then neither XLIFF nor tagged,
    // and the caller stops.
    bool b_IsCancelled() const { return b_Cancelled; }
    // Makes the host list, for the document about to be opened at the path, every story the
    // file names, as CT_Session::v_ListStoriesOfFile does for a tagged file (for which
    // this does nothing).
    void v_ListStories(const std::string& s_Document);
    // Has each story of the document at the path laid over as the document is read through,
    // on the threads it is read on, and imported there (CT_IdmlHost::v_TranslateAhead): the
    // document is read once and keeps no story's codes. What was laid is kept in a temporary
    // file without a name, which v_Place reads back; raises e_FileOpen when it cannot be made.
    void v_PlaceAhead(const std::string& s_Document);
    // Lays the units over the stories of the open document at the path and writes the tagged
    // story file to import. s_Name: the document as the user named it, whose name the file's
    // <file> elements should give. What was read of the file is let go: once is enough.
    // Raises e_FileWrite when what was laid ahead could not be kept.
    void v_Place(const std::string& s_Document, const std::string& s_Name);

    // What v_Place found, file-wide findings first, then each story's in file order.
    const std::vector<CT_XliffFinding>& cco_GetFindings() const { return co_Findings; }
    // Whether the findings refuse an import, with the command's options.
    bool b_Refuses() const;
    // Logs the findings as an import weighs them, each error line but the last as it is;
    // raises e_BadContent with the last when the import must not go on.
    void v_Admit() const;
    // Calls f_Tell with each finding that check and import tell on a line of its own, in order:
    // errors, differences and notes. The units to review are gathered instead and returned;
    // untranslated units are s_UntranslatedLine's.
    std::vector<std::string> co_TellEach(
        const std::function<void(const CT_XliffFinding&)>& f_Tell) const;
    // The line that names the untranslated units (and paragraphs the file lacks), empty when
    // there are none.
    std::string s_UntranslatedLine() const;

    // The tagged story file to import: the given file, or the one made from the XLIFF file,
    // named after the document.
    const std::string& s_GetTagged() const { return s_Tagged; }
    // Whether s_GetTagged was made from an XLIFF file, whose lines are not its lines.
    bool b_IsConverted() const { return !s_Folder.empty(); }

  private:
    void v_CheckFiles(const std::string& s_Name);
    // What the host may still hold of v_PlaceAhead points into the reader no more.
    void v_LetGoOfAhead();

    CT_Session& co_Session;
    bool b_Cancelled = false;
    bool b_Xliff = false;
    std::string s_File;
    std::unique_ptr<CT_FileBytes> pco_Bytes;  // what the reader reads units again from
    std::unique_ptr<CT_XliffReader> pco_Reader;
    struct CT_Ahead;
    std::shared_ptr<CT_Ahead> pco_Ahead;  // shared with the host, which reads into it
    std::vector<CT_XliffFinding> co_Findings;
    std::string s_Tagged;
    std::string s_Folder;
};
