// An open IDML document: its package and the parsed parts the host works with (the design map,
// with its layers and conditions, the spreads and master spreads in design-map order, the page
// size of the preferences and every story by its id). It owns all of them. Saving rewrites only
// the stories that changed.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/host/idml/ct_idml_deflater.h"
#include "platform/host/idml/ct_idml_geometry.h"
#include "platform/host/idml/ct_idml_package.h"
#include "platform/host/idml/ct_idml_xml_part.h"

// A layer of the design map, as the layout application shows and prints it.
struct CT_IdmlLayer {
    std::string s_Name;
    bool b_Visible = true;
    bool b_Printable = true;
};

struct CT_IdmlSpreadPart {
    std::unique_ptr<CT_IdmlXmlPart> pco_Part;
    bool b_Master = false;
};

class CT_IdmlDocument {
  public:
    // Loads the package at the path and parses its design map, spreads, preferences and all
    // stories. A broken package raises e_BadDocument naming the file and the entry.
    explicit CT_IdmlDocument(const std::string& s_Path);
    CT_IdmlDocument(const CT_IdmlDocument&) = delete;
    CT_IdmlDocument& operator=(const CT_IdmlDocument&) = delete;

    const std::string& s_Path() const { return co_Package.s_Path(); }
    const std::vector<CT_IdmlSpreadPart>& co_Spreads() const { return co_SpreadParts; }
    const CT_IdmlPageSize& co_PageSize() const { return co_Size; }
    // Story parts in design-map order.
    const std::vector<std::unique_ptr<CT_IdmlXmlPart>>& co_Stories() const { return co_StoryParts; }
    // The layer with this id (a frame's ItemLayer), or null.
    const CT_IdmlLayer* pco_FindLayer(const std::string& s_Id) const;
    // Layer names in design-map order.
    std::vector<std::string> co_LayerNames() const;
    // The ids of the conditions the document hides ("Condition/Web Only"); text under them is
    // not shown in the layout.
    const std::unordered_set<std::string>& co_HiddenConditions() const { return co_Hidden; }

    // The part of the story with this id, or null.
    CT_IdmlXmlPart* pco_FindStory(const std::string& s_Key) const;

    // The <Story> element of a story part, the <Spread> or <MasterSpread> of a spread part.
    static pugi::xml_node so_Inner(const CT_IdmlXmlPart& co_Part);

    bool b_IsChanged() const;
    // Puts a story away after an import changed it (CT_IdmlXmlPart::v_PutAway): importing
    // every story then needs little more memory than reading them.
    void v_PutAway(CT_IdmlXmlPart& co_Story) { co_Story.v_PutAway(co_Deflater); }
    // Writes the changed stories back into the package; nothing is written when none changed.
    void v_Save();

  private:
    void v_LoadPart(const pugi::xml_node& co_Reference);
    void v_LoadStory(const std::string& s_Entry);
    void v_LoadPreferences(const std::string& s_Entry);
    void v_LoadLayer(const pugi::xml_node& co_Layer);

    CT_IdmlPackage co_Package;
    CT_IdmlDeflater co_Deflater;
    std::vector<CT_IdmlSpreadPart> co_SpreadParts;
    std::vector<std::unique_ptr<CT_IdmlXmlPart>> co_StoryParts;
    std::unordered_map<std::string, CT_IdmlXmlPart*> co_StoriesById;
    CT_IdmlPageSize co_Size;
    std::vector<std::pair<std::string, CT_IdmlLayer>> co_LayerList;  // by id, in design-map order
    std::unordered_set<std::string> co_Hidden;
};
