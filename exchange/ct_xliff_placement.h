// Lays the units of one story of a translated XLIFF file over the story as the document holds
// it now. The document's content is cut into units exactly as the writer cut it, so the
// writer's numbering gives every paragraph, footnote or note paragraph and table cell
// paragraph its id; each unit then replaces the paragraph its id names, whatever order the
// file has. A paragraph the file has no unit for keeps the document's text; a unit whose id
// names no paragraph, or one seen before, is left out; a unit whose source is not the
// document's paragraph is named, as are codes its target lost, added or misplaced and units
// left untranslated. Holds the story's new content and what it found.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "exchange/ct_story_layout.h"
#include "exchange/ct_tagged_file.h"
#include "exchange/ct_xliff_finding.h"
#include "exchange/ct_xliff_reader.h"
#include "exchange/ct_xliff_unit.h"

class CT_XliffPlacement {
  public:
    // co_Layouts: the ways the story may have gone out (its notes kept, its notes skipped); the
    // one whose paragraphs most units' sources match is taken, the first on a tie. co_Units:
    // the file's units of this story, in file order.
    CT_XliffPlacement(const std::string& co_Key, std::vector<CT_StoryLayout> co_Layouts,
                      const std::vector<const CT_XliffUnit*>& co_Units);

    // The story's tagged content with every placed unit in it.
    std::string s_Content() const { return co_Layout.s_Content(); }
    // In file order, then the paragraphs the file lacks in story order.
    const std::vector<CT_XliffFinding>& cco_Findings() const { return co_Findings; }

    // Gives the ways the document's story of the key may have gone out (see the constructor);
    // false when the document has no story of that key.
    using CT_Layouts = std::function<bool(const std::string&, std::vector<CT_StoryLayout>&)>;
    // Every story the file's units name, laid over the document's, in the order the file
    // first names them. Findings are added to co_Findings in the order of the file's lines
    // (paragraphs the file lacks last); a story the document lacks gives one, on its first
    // unit.
    static std::vector<CT_TaggedStory> sco_PlaceAll(const CT_XliffReader& co_Reader,
                                                    const CT_Layouts& f_Layouts,
                                                    std::vector<CT_XliffFinding>& co_Findings);

    // The same in two steps, for stories laid elsewhere (as the document is read): the file's
    // units by story, each story's in file order (pointers into the reader), and those whose
    // id names no story; then the stories laid, as sco_PlaceAll gives them, where f_Laid
    // gives each story's content and findings, or false when the document has no such story.
    struct CT_UnitsByStory {
        std::unordered_map<std::string, std::vector<const CT_XliffUnit*>> co_ByKey;
        std::vector<const CT_XliffUnit*> co_Keyless;
    };
    static CT_UnitsByStory sco_ByStory(const CT_XliffReader& co_Reader);
    using CT_Laid = std::function<bool(const std::string&, const std::vector<const CT_XliffUnit*>&,
                                       std::string&, std::vector<CT_XliffFinding>&)>;
    static std::vector<CT_TaggedStory> sco_Assemble(const CT_XliffReader& co_Reader,
                                                    const CT_UnitsByStory& co_Units,
                                                    const CT_Laid& f_Laid,
                                                    std::vector<CT_XliffFinding>& co_Findings);

    // Whether a unit counts as translated, as a translator's tool marks it: a target in a
    // done state (or an approved unit) even when it equals its source; otherwise a target that
    // is there, not empty and not the source.
    static bool sb_IsTranslated(const CT_XliffUnit& co_Unit);

  private:
    void v_Place(const CT_XliffUnit& co_Unit, CT_LayoutParagraph& co_Paragraph);
    // Adds the findings of the target's codes against the source's; false when there are any.
    bool b_CheckCodes(const CT_XliffUnit& co_Unit);
    void v_Add(CT_XliffFinding::et_Kind eo_Kind, const CT_XliffUnit* pco_Unit,
               const std::string& co_Code = std::string(), const std::string& co_Detail = {});

    std::string co_Key;
    CT_StoryLayout co_Layout;
    std::vector<CT_XliffFinding> co_Findings;
};
