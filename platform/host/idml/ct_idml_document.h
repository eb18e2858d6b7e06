// An open IDML document: its package and the parsed parts the host works with (the design map,
// with its layers and conditions, the spreads and master spreads in design-map order, the page
// size of the preferences and every story by its id). It owns all of them. Saving rewrites only
// the stories that changed. A document opened to be read through hands each story to a reader
// as it opens and lets its tree go; a story asked for later is parsed again from the package.
// Spreads are kept as their outlines (the frames the box list needs); their trees are parsed
// again when first asked for.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/common/ct_work_pool.h"
#include "platform/host/idml/ct_idml_geometry.h"
#include "platform/host/idml/ct_idml_package.h"
#include "platform/host/idml/ct_idml_spread_frames.h"
#include "platform/host/idml/ct_idml_xml_part.h"

// A layer of the design map, as the layout application shows and prints it.
struct CT_IdmlLayer {
    std::string s_Name;
    bool b_Visible = true;
    bool b_Printable = true;
};

// A section of the design map: from which page it runs and how it numbers its pages.
struct CT_IdmlSection {
    std::string s_PageStart;  // the Self id of its first page
    bool b_Continue = true;   // numbering goes on from the section before
    unsigned n_Start = 1;     // the first page's number otherwise
    std::string s_Prefix;     // printed before each number ("A" of "A22")
    std::string s_Style;      // PageNumberStyle: "Arabic", "LowerRoman", "UpperLetters", ...
};

struct CT_IdmlSpreadPart {
    pugi::xml_node co_Inner;  // its <Spread> or <MasterSpread>, held by the document
    bool b_Master = false;
    std::string s_Entry;
    CT_IdmlSpreadOutline co_Outline;  // found as it was read
};

class CT_IdmlDocument {
  public:
    // Called with the document, each story's id and its <Story> element as the document
    // opens; the element goes when the call returns. The stories are read after the design
    // map's preferences, layers and conditions, which are all the call may look at (spreads
    // are read alongside the stories): with several threads it is called on them at once, for
    // different stories, and must be safe to call so.
    using CT_StoryReader =
        std::function<void(const CT_IdmlDocument&, const std::string&, const pugi::xml_node&)>;

    // Loads the package at the path and parses its design map, spreads, preferences and all
    // stories. A broken package raises e_BadDocument naming the file and the entry. With a
    // reader, no story's tree is kept: each is handed to the reader instead. Stories and
    // spreads are unpacked and parsed on n_Threads threads (1: all on this one); whatever their
    // number, the document and the error raised for a broken package are the same: the first fault
    // in the design map's order. The cancel source is asked before each story is taken, so that a
    // cancel during a long load is seen within one story: the load then raises e_HostFailure
    // ("canceled while reading ...") and nothing of the document is kept.
    explicit CT_IdmlDocument(const std::string& s_Path, CT_StoryReader co_Reader = {},
                             unsigned n_Threads = 1, std::function<int()> co_Cancel = {});
    CT_IdmlDocument(const CT_IdmlDocument&) = delete;
    CT_IdmlDocument& operator=(const CT_IdmlDocument&) = delete;

    const std::string& s_Path() const { return co_Package.s_Path(); }
    // The spreads and master spreads in design-map order, with their trees. The trees are not
    // kept as the document opens (ordering the stories needs only the outlines): the first
    // call parses them again from the package, refusing what opening refused.
    const std::vector<CT_IdmlSpreadPart>& co_Spreads() const;
    // The same without their trees (co_Inner is null unless co_Spreads was asked for).
    const std::vector<CT_IdmlSpreadPart>& co_SpreadOutlines() const { return co_SpreadParts; }
    // Each spread with its tree, in turn, for a reader that looks at each once: the trees
    // co_Spreads keeps when it was asked for, else each parsed for the call and gone before
    // the next, so that nothing of them is held after it. Refuses what co_Spreads refuses.
    void v_VisitSpreads(
        const std::function<void(const CT_IdmlSpreadPart&, const pugi::xml_node&)>& f_Visit) const;
    const CT_IdmlPageSize& co_PageSize() const { return co_Size; }
    // Story ids in design-map order.
    const std::vector<std::string>& co_StoryKeys() const { return co_Keys; }
    // Every text frame or text path inside a story, as (the story's id, its own story's id),
    // in design-map order and document order within a story: anchored and inline frames.
    const std::vector<std::pair<std::string, std::string>>& co_Anchored() const {
        return co_AnchoredPairs;
    }
    // The stories the document's XML structure tags, in the order of its tree, each once;
    // empty when the document has no structure. The structure is read when asked for: a
    // structure part that is not well-formed XML is refused then (e_BadDocument naming the
    // file and the part), and a tag naming a story the package lacks is passed over.
    std::vector<std::string> co_StructureKeys() const;
    // The sections in design-map order; empty when the document defines none.
    const std::vector<CT_IdmlSection>& co_GetSections() const { return co_Sections; }
    // The styles part, parsed for the call (e_BadDocument naming the part when it is not
    // well-formed XML), or null when the document has none.
    std::unique_ptr<CT_IdmlXmlPart> pco_ReadStyles() const;
    // The layer with this id (a frame's ItemLayer), or null.
    const CT_IdmlLayer* pco_FindLayer(std::string_view co_Id) const;
    // Layer names in design-map order.
    std::vector<std::string> co_LayerNames() const;
    // The ids of the conditions the document hides ("Condition/Web Only"); text under them is
    // not shown in the layout.
    const std::unordered_set<std::string>& co_HiddenConditions() const { return co_Hidden; }

    // Hands every story's id and <Story> element to the function, in design-map order: a
    // story's tree when it is kept, else one parsed for the call and let go after it.
    void v_ForEachStory(
        const std::function<void(const std::string&, const pugi::xml_node&)>& f_Do) const;
    // Whether the document has a story with this id.
    bool b_HasStory(const std::string& s_Key) const { return co_StoriesById.count(s_Key) != 0; }
    // The part of the story with this id (parsed again when it was let go, and kept), or null.
    CT_IdmlXmlPart* pco_FindStory(const std::string& s_Key) const;
    // Hands the story's <Story> element to the function: its tree when it is kept, else one
    // parsed for the call and let go after it, so that reading every story keeps no more than
    // one. False, without a call, when the document has no such story.
    bool b_ReadStory(const std::string& s_Key,
                     const std::function<void(const pugi::xml_node&)>& f_Do) const;

    // The <Story> element of a story part, the <Spread> or <MasterSpread> of a spread part.
    static pugi::xml_node so_Inner(const CT_IdmlXmlPart& co_Part);
    // The same, given the part's document element.
    static pugi::xml_node so_Inner(const pugi::xml_node& co_Root);

    bool b_IsChanged() const;
    // Counts the document changed by a story whose change is not kept, for a save that only
    // checks (v_Save without b_Write); a save that writes then refuses.
    void v_MarkChangedUnkept() { b_ChangedUnkept = true; }
    // Puts a story away after an import changed it (CT_IdmlXmlPart::v_PutAway): importing
    // every story then needs little more memory than reading them. With several threads the
    // story is written out and packed on another while the caller goes on; it is waited for
    // when it is next asked for, and every such story before a save.
    void v_PutAway(CT_IdmlXmlPart& co_Story);
    // Replaces the story with this id (which the document must have) by its changed XML,
    // written out and packed (CT_IdmlXmlPart::ss_Serialize of its tree): what v_PutAway makes
    // of a story changed in its tree, for a story changed in a tree of its own.
    void v_PutPacked(const std::string& s_Key, std::unique_ptr<CT_IdmlPackedSource> pco_Packed);
    // Writes the changed stories back into the package; nothing is written when none changed.
    // Without b_Write, everything that could refuse the save is checked and nothing is written.
    void v_Save(bool b_Write = true);

  private:
    // A spread's <Spread> or <MasterSpread>, parsed into co_Tree from the entry's bytes.
    pugi::xml_node co_ParseSpread(pugi::xml_node co_Tree, const std::string& s_Entry,
                                  std::string_view co_Bytes) const;
    struct CT_StoryEntry {
        std::string s_Entry;
        std::unique_ptr<CT_IdmlXmlPart> pco_Part;  // null while let go
    };

    // A story or spread the design map names, to be read with the others on the pool.
    struct CT_NamedPart {
        std::string s_Entry;
        enum et_Kind { e_Story, e_Spread, e_MasterSpread } eo_Kind;
    };
    struct CT_LoadedPart;

    // A story's or spread's part is only named here; v_LoadParts reads them all afterwards.
    void v_LoadPart(const pugi::xml_node& co_Reference, std::vector<CT_NamedPart>& co_Parts);
    void v_LoadParts(const std::vector<CT_NamedPart>& co_Parts, unsigned n_Threads);
    void v_StopWhenCancelled() const;
    // What a thread of its own does with a part: unpacks and parses it, and reads a story.
    void v_ReadPart(CT_LoadedPart& co_Part) const;
    // What is done in the design map's order: a spread is kept, a story's id taken and checked.
    void v_AddPart(CT_LoadedPart& co_Part);
    std::unique_ptr<CT_IdmlXmlPart> pco_ReadStory(const std::string& s_Entry) const;
    // Waits until the story put away on a thread is packed: the story given, or all for null.
    void v_FinishPacking(const CT_IdmlXmlPart* pco_Story = nullptr) const;
    void v_LoadPreferences(const std::string& s_Entry);
    void v_LoadLayer(const pugi::xml_node& co_Layer);
    void v_LoadSection(const pugi::xml_node& co_Section);

    CT_IdmlPackage co_Package;
    mutable std::vector<CT_IdmlSpreadPart> co_SpreadParts;  // their trees parsed on demand
    mutable pugi::xml_document co_SpreadTrees;              // which live here
    mutable bool b_SpreadTrees = false;
    bool b_ChangedUnkept = false;
    CT_StoryReader co_Reader;
    std::vector<std::string> co_Keys;
    // Parts are parsed again on demand, by const callers too.
    mutable std::unordered_map<std::string, CT_StoryEntry> co_StoriesById;
    std::vector<std::pair<std::string, std::string>> co_AnchoredPairs;
    CT_IdmlPageSize co_Size;
    std::vector<std::pair<std::string, CT_IdmlLayer>> co_LayerList;  // by id, in design-map order
    std::unordered_set<std::string> co_Hidden;
    std::unordered_set<std::string> co_Read;  // the parts read, by entry name
    std::string s_StructureEntry;             // the XML structure's part; empty for none
    std::string s_StylesEntry;                // the styles part; empty for none
    std::vector<CT_IdmlSection> co_Sections;
    const unsigned n_Threads;
    const std::function<int()> co_Cancel;
    // Stories being packed, oldest first, with their tickets; their parts are the packer's
    // until waited for.
    mutable std::deque<std::pair<std::size_t, const CT_IdmlXmlPart*>> co_Packing;
    // Declared last so that it goes first, waiting for the stories it is packing.
    std::unique_ptr<CT_WorkPool> pco_Packer;
};
