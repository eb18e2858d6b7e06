#include "platform/host/memory/ct_memory_workspace.h"

#include <algorithm>
#include <set>

#include "platform/common/ct_errors.h"

namespace {
[[noreturn]] void v_Raise(et_ErrorCode eo_Code, const std::string& s_Text) {
    CT_Errors::v_ThrowError(eo_Code, CT_String(s_Text));
}

[[noreturn]] void v_RaiseNotOpen(const std::string& s_Path) {
    v_Raise(e_UnknownDocument, "document " + s_Path + " is not open");
}
}  // namespace

void CT_MemoryWorkspace::v_Put(const std::string& s_Path,
                               const std::vector<CT_MemoryBox>& co_Boxes) {
    std::set<std::string> co_Keys;
    for (const CT_MemoryBox& co_Box : co_Boxes) {
        if (!co_Keys.insert(co_Box.s_Key).second) {
            v_Raise(e_BadDocument,
                    "document " + s_Path + " has two boxes with the key " + co_Box.s_Key);
        }
    }
    co_SavedDocuments[s_Path] = co_Boxes;
}

bool CT_MemoryWorkspace::b_HasSaved(const std::string& s_Path) const {
    return co_SavedDocuments.count(s_Path) != 0;
}

const std::vector<CT_MemoryBox>& CT_MemoryWorkspace::co_Saved(const std::string& s_Path) const {
    const auto co_It = co_SavedDocuments.find(s_Path);
    if (co_It == co_SavedDocuments.end()) {
        v_Raise(e_BadDocument, "cannot open " + s_Path + ": no document is saved there");
    }
    return co_It->second;
}

void CT_MemoryWorkspace::v_Open(const std::string& s_Path) {
    if (!b_IsOpen(s_Path)) {
        co_OpenDocuments.emplace(s_Path, CT_MemoryDocument(co_Saved(s_Path)));
        co_Openings[s_Path] = ++n_LastOpening;
    }
    v_Activate(s_Path);
}

bool CT_MemoryWorkspace::b_IsOpen(const std::string& s_Path) const {
    return co_OpenDocuments.count(s_Path) != 0;
}

unsigned CT_MemoryWorkspace::n_Opening(const std::string& s_Path) const {
    const auto co_It = co_Openings.find(s_Path);
    return co_It == co_Openings.end() ? 0 : co_It->second;
}

void CT_MemoryWorkspace::v_Activate(const std::string& s_Path) {
    if (!b_IsOpen(s_Path)) {
        v_RaiseNotOpen(s_Path);
    }
    co_ActiveOrder.erase(std::remove(co_ActiveOrder.begin(), co_ActiveOrder.end(), s_Path),
                         co_ActiveOrder.end());
    co_ActiveOrder.push_back(s_Path);
}

const std::string* CT_MemoryWorkspace::ps_Active() const {
    return co_ActiveOrder.empty() ? nullptr : &co_ActiveOrder.back();
}

CT_MemoryDocument& CT_MemoryWorkspace::co_Open(const std::string& s_Path) {
    const auto co_It = co_OpenDocuments.find(s_Path);
    if (co_It == co_OpenDocuments.end()) {
        v_RaiseNotOpen(s_Path);
    }
    return co_It->second;
}

const CT_MemoryDocument& CT_MemoryWorkspace::co_Open(const std::string& s_Path) const {
    return const_cast<CT_MemoryWorkspace*>(this)->co_Open(s_Path);
}

void CT_MemoryWorkspace::v_Save(const std::string& s_Path) {
    co_SavedDocuments[s_Path] = co_Open(s_Path).co_Boxes();
}

void CT_MemoryWorkspace::v_Discard(const std::string& s_Path) {
    co_OpenDocuments.erase(s_Path);
    co_Openings.erase(s_Path);
    co_ActiveOrder.erase(std::remove(co_ActiveOrder.begin(), co_ActiveOrder.end(), s_Path),
                         co_ActiveOrder.end());
}
