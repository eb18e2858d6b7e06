#include "platform/host/idml/ct_idml_document.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <map>
#include <unordered_set>
#include <utility>

#include "platform/common/ct_errors.h"
#include "platform/common/ct_work_pool.h"
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
// the document is never saved in a form that cannot be opened again. The packer stops short of
// the ratio (a run of one letter packs some 860 to 1), so today only the size refuses; the
// ratio is still held to, as the reader's rule and not the packer's habit is what counts.
// The key is read from the story only when it is refused: that parses it again.
void v_CheckStorySize(const CT_IdmlXmlPart& co_Part, std::uint64_t n_size, std::uint64_t n_packed) {
    std::string s_why;
    if (n_size > CT_IdmlPackage::n_MaxEntrySize) {
        s_why = "more than the " + std::to_string(CT_IdmlPackage::n_MaxEntrySize) +
                " bytes a package may hold for one story";
    } else if (CT_IdmlPackage::sb_PackedTooTightly(n_size, n_packed)) {
        s_why = "packed into " + std::to_string(n_packed) +
                " bytes, more tightly than a package may hold (" +
                std::to_string(CT_IdmlPackage::n_MaxRatio) + " to 1)";
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

// The stories a story's anchored frames show, in the order of the anchors in the text, as a
// reader meets them: a frame before the frames inside it, its inside before its later
// siblings. Only the story's own element is looked into, the part's first; the names point
// into the part's tree.
struct CT_AnchoredFrames {
    std::vector<const char*> co_Shown;
    std::size_t n_Tops = 0;  // elements met below the part's root

    void v_Visit(const pugi::xml_node& co_Element, std::size_t n_Depth) {
        if (n_Depth == 2) {
            ++n_Tops;
            return;
        }
        const char* pc_name = co_Element.name();
        if (n_Depth < 2 || n_Tops != 1 || *pc_name != 'T' ||
            (std::strcmp(pc_name, "TextFrame") != 0 && std::strcmp(pc_name, "TextPath") != 0)) {
            return;
        }
        const char* pc_story = co_Element.attribute("ParentStory").value();
        if (*pc_story != '\0' && std::strcmp(pc_story, "n") != 0) {
            co_Shown.push_back(pc_story);
        }
    }
};

}  // namespace

// What v_LoadParts holds of one part from its reading to its place in the document.
struct CT_IdmlDocument::CT_LoadedPart {
    std::string s_Entry;
    CT_NamedPart::et_Kind eo_Kind = CT_NamedPart::e_Story;
    CT_IdmlPackage::CT_Raw co_Raw;
    std::unique_ptr<CT_IdmlXmlPart> pco_Part;  // kept when there is no reader
    CT_IdmlSpreadOutline co_Outline;           // a spread's, found on the thread that read it
    std::string s_Key;
    std::vector<std::pair<std::string, std::string>> co_Anchored;
    // What the reader raised: it counts only after the story's id has been checked.
    et_ErrorCode eo_ReaderError = e_NoError;
    CT_String co_ReaderText;
};

CT_IdmlDocument::CT_IdmlDocument(const std::string& s_Path, CT_StoryReader co_Reader,
                                 unsigned n_Threads, std::function<int()> co_Cancel)
    : co_Package(s_Path),
      co_Reader(std::move(co_Reader)),
      n_Threads(n_Threads),
      co_Cancel(std::move(co_Cancel)) {
    if (!co_Package.b_Has(gpc_DesignMap)) {
        v_Refuse(s_Path, gpc_DesignMap, "is missing");
    }
    CT_IdmlXmlPart co_Map(s_Path, gpc_DesignMap, co_Package.co_Read(gpc_DesignMap),
                          CT_IdmlXmlPart::e_ReadOnly);
    std::vector<CT_NamedPart> co_parts;
    try {
        for (pugi::xml_node co_Reference : co_Map.co_Root().children()) {
            v_LoadPart(co_Reference, co_parts);
        }
    } catch (et_ErrorCode eo_code) {
        // A broken story named before the broken part is what reading in order meets first.
        const CT_String co_text = CT_Errors::cco_GetLastError();
        v_LoadParts(co_parts, n_Threads);
        CT_Errors::v_ThrowError(eo_code, co_text);
    }
    v_LoadParts(co_parts, n_Threads);
}

void CT_IdmlDocument::v_LoadPart(const pugi::xml_node& co_Reference,
                                 std::vector<CT_NamedPart>& co_Parts) {
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
        co_Parts.push_back({s_Entry, CT_NamedPart::e_Story});
    } else if (b_Is(pc_Name, "Spread")) {
        co_Parts.push_back({s_Entry, CT_NamedPart::e_Spread});
    } else if (b_Is(pc_Name, "MasterSpread")) {
        co_Parts.push_back({s_Entry, CT_NamedPart::e_MasterSpread});
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
        s_Path(), s_StylesEntry, co_Package.co_Read(s_StylesEntry), CT_IdmlXmlPart::e_ReadOnly);
}

const CT_IdmlLayer* CT_IdmlDocument::pco_FindLayer(std::string_view co_Id) const {
    for (const auto& co_entry : co_LayerList) {
        if (co_entry.first == co_Id) {
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
    return std::make_unique<CT_IdmlXmlPart>(s_Path(), s_Entry, co_Package.co_Read(s_Entry),
                                            CT_IdmlXmlPart::e_Editable);
}

namespace {

// One per thread, kept for the thread's life: a fresh one per story costs its set-up.
CT_IdmlInflater& co_ThreadInflater() {
    thread_local CT_IdmlInflater co_inflater;
    return co_inflater;
}

}  // namespace

// The package is read here, in order; each part is unpacked and parsed (a story also read) on
// the pool, a few ahead of the one taken, so that only those few are held at a time.
void CT_IdmlDocument::v_LoadParts(const std::vector<CT_NamedPart>& co_Parts, unsigned n_Threads) {
    std::deque<CT_LoadedPart> co_loading;  // outlives the pool, whose jobs point into it
    // Sized once for the stories named: thousands of ids would rehash the map several times.
    const std::size_t n_stories = static_cast<std::size_t>(std::count_if(
        co_Parts.begin(), co_Parts.end(),
        [](const CT_NamedPart& co_Part) { return co_Part.eo_Kind == CT_NamedPart::e_Story; }));
    co_StoriesById.reserve(co_StoriesById.size() + n_stories);
    co_Keys.reserve(co_Keys.size() + n_stories);
    CT_WorkPool co_pool(n_Threads);
    std::size_t n_given = 0;
    for (std::size_t n_taken = 0; n_taken < co_Parts.size(); ++n_taken) {
        for (; n_given < co_Parts.size() && n_given - n_taken < co_pool.n_Ahead(); ++n_given) {
            co_loading.emplace_back();
            CT_LoadedPart& co_part = co_loading.back();
            co_part.s_Entry = co_Parts[n_given].s_Entry;
            co_part.eo_Kind = co_Parts[n_given].eo_Kind;
            try {
                co_Package.v_ReadRaw(co_part.s_Entry, co_part.co_Raw);
            } catch (et_ErrorCode eo_code) {
                // Raised in its turn, after the parts before it.
                const CT_String co_text = CT_Errors::cco_GetLastError();
                co_pool.n_Give([eo_code, co_text] { CT_Errors::v_ThrowError(eo_code, co_text); });
                continue;
            }
            co_pool.n_Give([this, &co_part] { v_ReadPart(co_part); });
        }
        // Asked here, on the thread that opened the document: the source need not be one that
        // workers may call. The pool drops the stories not begun as it goes.
        v_StopWhenCancelled();
        co_pool.v_Wait(n_taken);
        v_AddPart(co_loading.front());
        co_loading.pop_front();
    }
}

const std::vector<CT_IdmlSpreadPart>& CT_IdmlDocument::co_Spreads() const {
    if (!b_SpreadTrees) {
        for (CT_IdmlSpreadPart& co_part : co_SpreadParts) {
            co_part.co_Inner = co_ParseSpread(co_SpreadTrees, co_part.s_Entry,
                                              co_Package.co_Read(co_part.s_Entry).sv());
        }
        b_SpreadTrees = true;
    }
    return co_SpreadParts;
}

void CT_IdmlDocument::v_VisitSpreads(
    const std::function<void(const CT_IdmlSpreadPart&, const pugi::xml_node&)>& f_Visit) const {
    if (b_SpreadTrees) {
        for (const CT_IdmlSpreadPart& co_part : co_SpreadParts) {
            f_Visit(co_part, co_part.co_Inner);
        }
        return;
    }
    for (const CT_IdmlSpreadPart& co_part : co_SpreadParts) {
        const CT_IdmlXmlPart co_tree(s_Path(), co_part.s_Entry, co_Package.co_Read(co_part.s_Entry),
                                     CT_IdmlXmlPart::e_ReadOnly);
        f_Visit(co_part, so_Inner(co_tree));
    }
}

pugi::xml_node CT_IdmlDocument::co_ParseSpread(pugi::xml_node co_Tree, const std::string& s_Entry,
                                               std::string_view co_Bytes) const {
    return so_Inner(CT_IdmlXmlPart::sco_ParseInto(co_Tree, s_Path(), s_Entry, co_Bytes));
}

void CT_IdmlDocument::v_StopWhenCancelled() const {
    if (co_Cancel && co_Cancel()) {
        CT_Errors::v_ThrowError(e_HostFailure,
                                CT_String(("canceled while reading " + s_Path()).c_str()));
    }
}

void CT_IdmlDocument::v_ReadPart(CT_LoadedPart& co_Part) const {
    CT_IdmlPartBytes co_bytes =
        co_Package.co_Unpack(co_Part.s_Entry, co_Part.co_Raw, co_ThreadInflater());
    co_Part.co_Raw = CT_IdmlPackage::CT_Raw();
    if (co_Part.eo_Kind != CT_NamedPart::e_Story) {
        // Read here, while the spread is fresh in the cache and not on the thread that later
        // orders the stories alone; the tree goes with the call.
        const CT_IdmlXmlPart co_tree(s_Path(), co_Part.s_Entry, std::move(co_bytes),
                                     CT_IdmlXmlPart::e_ReadOnly);
        co_Part.co_Outline = CT_IdmlSpreadFrames::sco_Read(
            so_Inner(co_tree), co_Part.eo_Kind == CT_NamedPart::e_MasterSpread, co_Size);
        return;
    }
    // The stories of frames anchored in the text, met in the walk that checks the depth, which
    // passes each element once: the story is most of what is read, and a second walk over it
    // cost a tenth of a listing.
    CT_AnchoredFrames co_anchored;
    co_Part.pco_Part = std::make_unique<CT_IdmlXmlPart>(
        s_Path(), co_Part.s_Entry, std::move(co_bytes), CT_IdmlXmlPart::e_Editable,
        [&co_anchored](const pugi::xml_node& co_Element, std::size_t n_Depth) {
            co_anchored.v_Visit(co_Element, n_Depth);
        });
    const pugi::xml_node co_story = so_Inner(*co_Part.pco_Part);
    co_Part.s_Key = co_story.attribute("Self").value();
    if (!b_Is(co_story.name(), "Story") || co_Part.s_Key.empty()) {
        v_Refuse(s_Path(), co_Part.s_Entry, "holds no story");
    }
    for (const char* pc_shown : co_anchored.co_Shown) {
        co_Part.co_Anchored.emplace_back(co_Part.s_Key, pc_shown);
    }
    if (!co_Reader) {
        return;
    }
    try {
        co_Reader(*this, co_Part.s_Key, co_story);
    } catch (et_ErrorCode eo_code) {
        co_Part.eo_ReaderError = eo_code;
        co_Part.co_ReaderText = CT_Errors::cco_GetLastError();
    }
    co_Part.pco_Part.reset();
}

void CT_IdmlDocument::v_AddPart(CT_LoadedPart& co_Part) {
    if (co_Part.eo_Kind != CT_NamedPart::e_Story) {
        co_SpreadParts.push_back({pugi::xml_node(), co_Part.eo_Kind == CT_NamedPart::e_MasterSpread,
                                  co_Part.s_Entry, std::move(co_Part.co_Outline)});
        return;
    }
    // The story id is the key the tagged file names; it must lead to one story only.
    auto co_entry = co_StoriesById.emplace(co_Part.s_Key, CT_StoryEntry{co_Part.s_Entry, nullptr});
    if (!co_entry.second) {
        v_Refuse(s_Path(), co_Part.s_Entry, "repeats the story id " + co_Part.s_Key);
    }
    co_Keys.push_back(co_Part.s_Key);
    co_AnchoredPairs.insert(co_AnchoredPairs.end(), co_Part.co_Anchored.begin(),
                            co_Part.co_Anchored.end());
    if (co_Part.eo_ReaderError != e_NoError) {
        CT_Errors::v_ThrowError(co_Part.eo_ReaderError, co_Part.co_ReaderText);
    }
    co_entry.first->second.pco_Part = std::move(co_Part.pco_Part);
}

// The tree's elements name their content by id; those naming a story tag it. The walk keeps
// its own stack: a structure is as deep as its author made it.
std::vector<std::string> CT_IdmlDocument::co_StructureKeys() const {
    std::vector<std::string> co_keys;
    if (s_StructureEntry.empty() || !co_Package.b_Has(s_StructureEntry)) {
        return co_keys;
    }
    const CT_IdmlXmlPart co_part(s_Path(), s_StructureEntry, co_Package.co_Read(s_StructureEntry),
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
    CT_IdmlXmlPart co_Part(s_Path(), s_Entry, co_Package.co_Read(s_Entry),
                           CT_IdmlXmlPart::e_ReadOnly);
    pugi::xml_node co_Preference = co_Part.co_Root().child("DocumentPreference");
    co_Size.d_Width = co_Preference.attribute("PageWidth").as_double(0);
    co_Size.d_Height = co_Preference.attribute("PageHeight").as_double(0);
    co_Size.b_Facing = co_Preference.attribute("FacingPages").as_bool(false);
    co_Size.b_RightToLeft =
        std::strcmp(co_Preference.attribute("PageBinding").value(), "RightToLeft") == 0;
}

void CT_IdmlDocument::v_PutAway(CT_IdmlXmlPart& co_Story) {
    if (n_Threads <= 1) {
        co_Story.v_PutAway(CT_IdmlDeflater::sco_ThisThread());
        return;
    }
    if (!pco_Packer) {
        pco_Packer = std::make_unique<CT_WorkPool>(n_Threads);
    }
    // A few stories in hand at a time, so that the trees waiting cost little memory.
    if (co_Packing.size() >= pco_Packer->n_Ahead()) {
        v_FinishPacking(co_Packing.front().second);
    }
    const std::size_t n_ticket =
        pco_Packer->n_Give([&co_Story] { co_Story.v_PutAway(CT_IdmlDeflater::sco_ThisThread()); });
    co_Packing.emplace_back(n_ticket, &co_Story);
}

void CT_IdmlDocument::v_FinishPacking(const CT_IdmlXmlPart* pco_Story) const {
    if (pco_Story != nullptr &&
        std::none_of(co_Packing.begin(), co_Packing.end(), [pco_Story](const auto& co_packing) {
            return co_packing.second == pco_Story;
        })) {
        return;
    }
    // Tickets are waited for in the order they were given, so those before it go first.
    while (!co_Packing.empty()) {
        const auto co_first = co_Packing.front();
        co_Packing.pop_front();
        pco_Packer->v_Wait(co_first.first);
        if (co_first.second == pco_Story) {
            return;
        }
    }
}

CT_IdmlXmlPart* CT_IdmlDocument::pco_FindStory(const std::string& s_Key) const {
    auto co_Found = co_StoriesById.find(s_Key);
    if (co_Found == co_StoriesById.end()) {
        return nullptr;
    }
    if (co_Found->second.pco_Part) {
        v_FinishPacking(co_Found->second.pco_Part.get());
    }
    if (!co_Found->second.pco_Part) {
        co_Found->second.pco_Part = pco_ReadStory(co_Found->second.s_Entry);
    }
    return co_Found->second.pco_Part.get();
}

void CT_IdmlDocument::v_PutPacked(const std::string& s_Key,
                                  std::unique_ptr<CT_IdmlPackedSource> pco_Packed) {
    CT_StoryEntry& co_entry = co_StoriesById.at(s_Key);
    if (co_entry.pco_Part) {
        v_FinishPacking(co_entry.pco_Part.get());
    }
    co_entry.pco_Part = std::make_unique<CT_IdmlXmlPart>(co_entry.s_Entry, std::move(pco_Packed),
                                                         CT_IdmlXmlPart::e_Editable);
}

bool CT_IdmlDocument::b_ReadStory(const std::string& s_Key,
                                  const std::function<void(const pugi::xml_node&)>& f_Do) const {
    auto co_found = co_StoriesById.find(s_Key);
    if (co_found == co_StoriesById.end()) {
        return false;
    }
    if (const CT_IdmlXmlPart* pco_kept = co_found->second.pco_Part.get()) {
        v_FinishPacking(pco_kept);
        f_Do(so_Inner(*pco_kept));
        return true;
    }
    const std::unique_ptr<CT_IdmlXmlPart> pco_part = pco_ReadStory(co_found->second.s_Entry);
    f_Do(so_Inner(*pco_part));
    return true;
}

void CT_IdmlDocument::v_ForEachStory(
    const std::function<void(const std::string&, const pugi::xml_node&)>& f_Do) const {
    for (const std::string& s_key : co_Keys) {
        b_ReadStory(s_key, [&](const pugi::xml_node& co_Story) { f_Do(s_key, co_Story); });
    }
}

pugi::xml_node CT_IdmlDocument::so_Inner(const CT_IdmlXmlPart& co_Part) {
    return so_Inner(co_Part.co_Root());
}

pugi::xml_node CT_IdmlDocument::so_Inner(const pugi::xml_node& co_Root) {
    for (pugi::xml_node co_Child : co_Root.children()) {
        if (co_Child.type() == pugi::node_element) {
            return co_Child;
        }
    }
    return {};
}

bool CT_IdmlDocument::b_IsChanged() const {
    if (b_ChangedUnkept) {
        return true;
    }
    v_FinishPacking();
    for (const auto& co_story : co_StoriesById) {
        if (co_story.second.pco_Part && co_story.second.pco_Part->b_IsChanged()) {
            return true;
        }
    }
    return false;
}

void CT_IdmlDocument::v_Save(bool b_Write) {
    v_FinishPacking();
    CT_IdmlPackage::CT_Replaced co_Replaced;
    // In design-map order, so that of several stories too large the first is named.
    for (const std::string& s_key : co_Keys) {
        CT_IdmlXmlPart* pco_Story = co_StoriesById.at(s_key).pco_Part.get();
        if (pco_Story != nullptr && pco_Story->b_IsChanged()) {
            pco_Story->v_PutAway(CT_IdmlDeflater::sco_ThisThread());
            CT_IdmlPackedSource* pco_packed = pco_Story->pco_GetPacked();
            v_CheckStorySize(*pco_Story, pco_packed->n_DataSize(), pco_packed->n_PackedSize());
            co_Replaced.emplace(pco_Story->s_Entry(), pco_packed);
        }
    }
    if (b_ChangedUnkept && b_Write) {
        CT_Errors::v_ThrowError(
            e_HostFailure,
            CT_String(("\"" + s_Path() + "\" holds changes that were not kept").c_str()));
    }
    if (co_Replaced.empty() && !b_ChangedUnkept) {
        return;
    }
    if (!b_Write) {
        co_Package.v_CheckConsistent();
        return;
    }
    co_Package.v_Save(co_Replaced);
    for (const auto& co_story : co_StoriesById) {
        if (co_story.second.pco_Part) {
            co_story.second.pco_Part->v_ClearChanged();
        }
    }
}
