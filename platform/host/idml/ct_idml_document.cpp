#include "platform/host/idml/ct_idml_document.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <unordered_set>
#include <utility>

#include "platform/common/ct_errors.h"
#include "platform/host/idml/ct_idml_deflater.h"
#include "platform/host/idml/ct_idml_tag_text.h"

namespace {

const char* const gpc_DesignMap = "designmap.xml";

// Design-map references carry the packaging prefix ("idPkg:Spread"); only the local name counts.
const char* pc_LocalName(const pugi::xml_node& co_Node) {
    const char* pc_Name = co_Node.name();
    const char* pc_Colon = std::strchr(pc_Name, ':');
    return pc_Colon == nullptr ? pc_Name : pc_Colon + 1;
}

bool b_Is(const char* pc_Name, const char* pc_Expected) {
    return std::strcmp(pc_Name, pc_Expected) == 0;
}

[[noreturn]] void v_Refuse(const std::string& s_Path, const std::string& s_Entry,
                           const std::string& s_What) {
    CT_Errors::v_ThrowError(
        e_BadDocument,
        CT_String(("\"" + s_Path + "\": entry \"" + s_Entry + "\" " + s_What).c_str()));
}

// The package reader refuses an entry that unpacks to an absurd size (CT_IdmlPackage); a story
// made that large by an import is refused before the package is written, by its key, so that
// the document is never saved in a form that cannot be opened again.
// The key is read from the story only when it is refused: that parses it again.
void v_CheckStorySize(const CT_IdmlXmlPart& co_Part, std::uint64_t n_size, std::uint64_t n_packed) {
    std::string s_why;
    if (n_size > CT_IdmlPackage::n_MaxEntrySize) {
        s_why = "more than the " + std::to_string(CT_IdmlPackage::n_MaxEntrySize) +
                " bytes a package may hold for one story";
    } else if (n_size > CT_IdmlPackage::n_RatioFloor) {
        if (n_size / CT_IdmlPackage::n_MaxRatio > n_packed) {
            s_why = "packed into " + std::to_string(n_packed) +
                    " bytes, more tightly than a package may hold (" +
                    std::to_string(CT_IdmlPackage::n_MaxRatio) + " to 1)";
        }
    }
    if (s_why.empty()) {
        return;
    }
    const std::string s_key =
        CT_IdmlTagText::ss_Key(CT_IdmlDocument::so_Inner(co_Part).attribute("Self").value());
    CT_Errors::v_ThrowError(
        e_BadContent, CT_String(("story " + s_key + " is too large: " + std::to_string(n_size) +
                                 " bytes of XML, " + s_why + "; the document was not saved")
                                    .c_str()));
}

}  // namespace

CT_IdmlDocument::CT_IdmlDocument(const std::string& s_Path, CT_StoryReader co_Reader)
    : co_Package(s_Path), co_Reader(std::move(co_Reader)) {
    if (!co_Package.b_Has(gpc_DesignMap)) {
        v_Refuse(s_Path, gpc_DesignMap, "is missing");
    }
    CT_IdmlXmlPart co_Map(s_Path, gpc_DesignMap, co_Package.s_Read(gpc_DesignMap),
                          CT_IdmlXmlPart::e_ReadOnly);
    for (pugi::xml_node co_Reference : co_Map.co_Root().children()) {
        v_LoadPart(co_Reference);
    }
}

void CT_IdmlDocument::v_LoadPart(const pugi::xml_node& co_Reference) {
    const char* pc_Name = pc_LocalName(co_Reference);
    const std::string s_Entry = co_Reference.attribute("src").value();
    // A part the design map names again is read once: a second reading adds nothing to the
    // layout or the text, and would let a small package cost without end.
    const bool b_part = b_Is(pc_Name, "Story") || b_Is(pc_Name, "Spread") ||
                        b_Is(pc_Name, "MasterSpread") || b_Is(pc_Name, "Preferences");
    if (b_part && !co_Read.insert(s_Entry).second) {
        return;
    }
    if (b_Is(pc_Name, "Story")) {
        v_LoadStory(s_Entry);
    } else if (b_Is(pc_Name, "Spread") || b_Is(pc_Name, "MasterSpread")) {
        auto pco_Part = std::make_unique<CT_IdmlXmlPart>(
            s_Path(), s_Entry, co_Package.s_Read(s_Entry), CT_IdmlXmlPart::e_ReadOnly);
        co_SpreadParts.push_back({std::move(pco_Part), b_Is(pc_Name, "MasterSpread")});
    } else if (b_Is(pc_Name, "Preferences")) {
        v_LoadPreferences(s_Entry);
    } else if (b_Is(pc_Name, "BackingStory") && s_StructureEntry.empty()) {
        s_StructureEntry = s_Entry;
    } else if (b_Is(pc_Name, "Styles") && s_StylesEntry.empty()) {
        s_StylesEntry = s_Entry;
    } else if (b_Is(pc_Name, "Section")) {
        v_LoadSection(co_Reference);
    } else if (b_Is(pc_Name, "Layer")) {
        v_LoadLayer(co_Reference);
    } else if (b_Is(pc_Name, "Condition") && !co_Reference.attribute("Visible").as_bool(true)) {
        co_Hidden.insert(co_Reference.attribute("Self").value());
    }
}

void CT_IdmlDocument::v_LoadLayer(const pugi::xml_node& co_Layer) {
    CT_IdmlLayer co_layer;
    co_layer.s_Name = co_Layer.attribute("Name").value();
    co_layer.b_Visible = co_Layer.attribute("Visible").as_bool(true);
    co_layer.b_Printable = co_Layer.attribute("Printable").as_bool(true);
    co_LayerList.emplace_back(co_Layer.attribute("Self").value(), std::move(co_layer));
}

// A number the section cannot have (none, zero, absurd) starts it at 1: the names of pages are
// for people to find them by, and must not stop a document from being read.
void CT_IdmlDocument::v_LoadSection(const pugi::xml_node& co_Section) {
    CT_IdmlSection co_section;
    co_section.s_PageStart = co_Section.attribute("PageStart").value();
    co_section.b_Continue = co_Section.attribute("ContinueNumbering").as_bool(true);
    const long long i_start = co_Section.attribute("PageNumberStart").as_llong(1);
    co_section.n_Start = i_start >= 1 && i_start <= 999999 ? static_cast<unsigned>(i_start) : 1;
    co_section.s_Prefix = co_Section.attribute("SectionPrefix").value();
    co_section.s_Style = co_Section.attribute("PageNumberStyle").value();
    co_Sections.push_back(std::move(co_section));
}

std::unique_ptr<CT_IdmlXmlPart> CT_IdmlDocument::pco_ReadStyles() const {
    if (s_StylesEntry.empty() || !co_Package.b_Has(s_StylesEntry)) {
        return nullptr;
    }
    return std::make_unique<CT_IdmlXmlPart>(
        s_Path(), s_StylesEntry, co_Package.s_Read(s_StylesEntry), CT_IdmlXmlPart::e_ReadOnly);
}

const CT_IdmlLayer* CT_IdmlDocument::pco_FindLayer(const std::string& s_Id) const {
    for (const auto& co_entry : co_LayerList) {
        if (co_entry.first == s_Id) {
            return &co_entry.second;
        }
    }
    return nullptr;
}

std::vector<std::string> CT_IdmlDocument::co_LayerNames() const {
    std::vector<std::string> co_names;
    for (const auto& co_entry : co_LayerList) {
        co_names.push_back(co_entry.second.s_Name);
    }
    return co_names;
}

std::unique_ptr<CT_IdmlXmlPart> CT_IdmlDocument::pco_ReadStory(const std::string& s_Entry) const {
    return std::make_unique<CT_IdmlXmlPart>(s_Path(), s_Entry, co_Package.s_Read(s_Entry),
                                            CT_IdmlXmlPart::e_Editable);
}

void CT_IdmlDocument::v_LoadStory(const std::string& s_Entry) {
    std::unique_ptr<CT_IdmlXmlPart> pco_Part = pco_ReadStory(s_Entry);
    pugi::xml_node co_Story = so_Inner(*pco_Part);
    const std::string s_Key = co_Story.attribute("Self").value();
    if (!b_Is(co_Story.name(), "Story") || s_Key.empty()) {
        v_Refuse(s_Path(), s_Entry, "holds no story");
    }
    // The story id is the key the tagged file names; it must lead to one story only.
    auto co_entry = co_StoriesById.emplace(s_Key, CT_StoryEntry{s_Entry, nullptr});
    if (!co_entry.second) {
        v_Refuse(s_Path(), s_Entry, "repeats the story id " + s_Key);
    }
    co_Keys.push_back(s_Key);
    v_CollectAnchored(co_Story, s_Key);
    if (co_Reader) {
        co_Reader(*this, s_Key, co_Story);
        return;
    }
    co_entry.first->second.pco_Part = std::move(pco_Part);
}

// In the order of the anchors in the text: a frame is met before the frames inside it, and a
// frame's inside before its later siblings, as a reader meets them.
void CT_IdmlDocument::v_CollectAnchored(const pugi::xml_node& co_Story, const std::string& s_Key) {
    std::vector<pugi::xml_node> co_stack;
    for (pugi::xml_node co_child = co_Story.last_child(); co_child;
         co_child = co_child.previous_sibling()) {
        co_stack.push_back(co_child);
    }
    while (!co_stack.empty()) {
        pugi::xml_node co_node = co_stack.back();
        co_stack.pop_back();
        if (co_node.type() != pugi::node_element) {
            continue;
        }
        const char* pc_story = co_node.attribute("ParentStory").value();
        if ((b_Is(co_node.name(), "TextFrame") || b_Is(co_node.name(), "TextPath")) &&
            *pc_story != '\0' && std::strcmp(pc_story, "n") != 0) {
            co_AnchoredPairs.emplace_back(s_Key, pc_story);
        }
        for (pugi::xml_node co_child = co_node.last_child(); co_child;
             co_child = co_child.previous_sibling()) {
            co_stack.push_back(co_child);
        }
    }
}

// The tree's elements name their content by id; those naming a story tag it. The walk keeps
// its own stack: a structure is as deep as its author made it.
std::vector<std::string> CT_IdmlDocument::co_StructureKeys() const {
    std::vector<std::string> co_keys;
    if (s_StructureEntry.empty() || !co_Package.b_Has(s_StructureEntry)) {
        return co_keys;
    }
    const CT_IdmlXmlPart co_part(s_Path(), s_StructureEntry, co_Package.s_Read(s_StructureEntry),
                                 CT_IdmlXmlPart::e_ReadOnly);
    std::unordered_set<std::string> co_seen;
    std::vector<pugi::xml_node> co_stack{co_part.co_Root()};
    while (!co_stack.empty()) {
        const pugi::xml_node co_node = co_stack.back();
        co_stack.pop_back();
        if (b_Is(co_node.name(), "XMLElement")) {
            const std::string s_content = co_node.attribute("XMLContent").value();
            if (b_HasStory(s_content) && co_seen.insert(s_content).second) {
                co_keys.push_back(s_content);
            }
        }
        for (pugi::xml_node co_child = co_node.last_child(); co_child;
             co_child = co_child.previous_sibling()) {
            if (co_child.type() == pugi::node_element) {
                co_stack.push_back(co_child);
            }
        }
    }
    return co_keys;
}

void CT_IdmlDocument::v_LoadPreferences(const std::string& s_Entry) {
    CT_IdmlXmlPart co_Part(s_Path(), s_Entry, co_Package.s_Read(s_Entry),
                           CT_IdmlXmlPart::e_ReadOnly);
    pugi::xml_node co_Preference = co_Part.co_Root().child("DocumentPreference");
    co_Size.d_Width = co_Preference.attribute("PageWidth").as_double(0);
    co_Size.d_Height = co_Preference.attribute("PageHeight").as_double(0);
    co_Size.b_Facing = co_Preference.attribute("FacingPages").as_bool(false);
    co_Size.b_RightToLeft =
        std::strcmp(co_Preference.attribute("PageBinding").value(), "RightToLeft") == 0;
}

CT_IdmlXmlPart* CT_IdmlDocument::pco_FindStory(const std::string& s_Key) const {
    auto co_Found = co_StoriesById.find(s_Key);
    if (co_Found == co_StoriesById.end()) {
        return nullptr;
    }
    if (!co_Found->second.pco_Part) {
        co_Found->second.pco_Part = pco_ReadStory(co_Found->second.s_Entry);
    }
    return co_Found->second.pco_Part.get();
}

void CT_IdmlDocument::v_ForEachStory(
    const std::function<void(const std::string&, const pugi::xml_node&)>& f_Do) const {
    for (const std::string& s_key : co_Keys) {
        const CT_StoryEntry& co_entry = co_StoriesById.at(s_key);
        if (co_entry.pco_Part) {
            f_Do(s_key, so_Inner(*co_entry.pco_Part));
            continue;
        }
        const std::unique_ptr<CT_IdmlXmlPart> pco_part = pco_ReadStory(co_entry.s_Entry);
        f_Do(s_key, so_Inner(*pco_part));
    }
}

pugi::xml_node CT_IdmlDocument::so_Inner(const CT_IdmlXmlPart& co_Part) {
    for (pugi::xml_node co_Child : co_Part.co_Root().children()) {
        if (co_Child.type() == pugi::node_element) {
            return co_Child;
        }
    }
    return {};
}

bool CT_IdmlDocument::b_IsChanged() const {
    for (const auto& co_story : co_StoriesById) {
        if (co_story.second.pco_Part && co_story.second.pco_Part->b_IsChanged()) {
            return true;
        }
    }
    return false;
}

void CT_IdmlDocument::v_Save() {
    CT_IdmlPackage::CT_Replaced co_Replaced;
    // In design-map order, so that of several stories too large the first is named.
    for (const std::string& s_key : co_Keys) {
        CT_IdmlXmlPart* pco_Story = co_StoriesById.at(s_key).pco_Part.get();
        if (pco_Story != nullptr && pco_Story->b_IsChanged()) {
            pco_Story->v_PutAway(co_Deflater);
            CT_IdmlPackedSource* pco_packed = pco_Story->pco_GetPacked();
            v_CheckStorySize(*pco_Story, pco_packed->n_DataSize(), pco_packed->n_PackedSize());
            co_Replaced.emplace(pco_Story->s_Entry(), pco_packed);
        }
    }
    if (co_Replaced.empty()) {
        return;
    }
    co_Package.v_Save(co_Replaced);
    for (const auto& co_story : co_StoriesById) {
        if (co_story.second.pco_Part) {
            co_story.second.pco_Part->v_ClearChanged();
        }
    }
}
