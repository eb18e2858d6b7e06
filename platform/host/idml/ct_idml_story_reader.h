// Reads translated content against the code table of the story as it stands and turns it into
// leaves for the rebuild. Refuses (e_BadContent, naming the key and the code) content that uses
// an unknown code, repeats or drops an object, leaves a paired code unbalanced, or puts a
// structure code where its structure cannot be: a close before its open, a cell outside its
// table, text in a table outside its cells. Holds references to the caller's analysis and key.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/common/ct_string.h"
#include "platform/host/idml/ct_idml_story_analysis.h"
#include "platform/host/idml/ct_idml_story_leaf.h"

class CT_IdmlStoryReader {
  public:
    CT_IdmlStoryReader(const CT_IdmlStoryAnalysis& co_Analysis, const CT_String& co_Key);

    void v_Read(std::string_view co_Content, std::vector<CT_IdmlStoryLeaf>& co_Leaves);

  private:
    void v_Text(std::string& co_Text);
    void v_LineEnd();
    void v_OpenPaired(unsigned n_Number);
    void v_ClosePaired(unsigned n_Number);
    void v_Standalone(unsigned n_Number);
    [[noreturn]] void v_RefuseOutOfPlace(unsigned n_Number);
    void v_Open(unsigned n_Number);
    void v_Close(unsigned n_Number);
    void v_NoteOpen(unsigned n_Number);
    void v_NoteClose(unsigned n_Number);
    void v_NoteWhole(unsigned n_Number);
    void v_Cell(unsigned n_Number);
    void v_TableClose(unsigned n_Number);
    void v_LeaveCell(unsigned n_Table);
    void v_EndFlow(unsigned n_Flow);
    void v_Finish();

    CT_IdmlStoryLeaf& co_Add(et_IdmlLeaf eo_Kind, std::size_t n_Event = 0);
    unsigned n_Flow() const { return co_FlowStack.back(); }
    unsigned n_Innermost(et_IdmlCode eo_Kind) const;
    const CT_IdmlStoryCode& cco_Code(unsigned n_Number, bool b_Paired) const;
    void v_CheckInCell() const;
    [[noreturn]] void v_Refuse(const std::string& co_Reason) const;

    const CT_IdmlStoryAnalysis& co_Analysis;
    const std::vector<CT_IdmlStoryCode>& co_Codes;
    const CT_String& co_Key;

    std::vector<CT_IdmlStoryLeaf>* pco_Leaves = nullptr;
    std::vector<unsigned> co_Paired;      // open <gN> codes, innermost last
    std::vector<unsigned> co_Structures;  // open wrapper, note, table and cell codes
    std::vector<unsigned> co_FlowStack;
    std::vector<unsigned> co_ParagraphOf;  // per flow
    std::vector<unsigned> co_BreaksOf;     // per flow
    std::vector<std::size_t> co_LastOf;    // per flow: its last leaf's index + 1, 0 for none
    std::vector<bool> co_Seen;             // per code number
    std::string_view co_Content;           // while read
};
