// The opaque handles a host backend gives out, and the records behind them. A handle is a
// serial number dressed as a pointer: serial numbers are never reused, so a released handle can
// never name a record given out later, and two handles are the same handle exactly when their
// values are equal. Each registry draws from its own range, so a handle of one registry is
// unknown to every other. The registry owns the records; a release destroys its record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <utility>

namespace handle_detail {
// One counter for every registry of the process, whatever its record type.
inline std::uintptr_t sn_NextRange() {
    static std::uintptr_t sn_Range = 0;
    constexpr unsigned kn_Shift = sizeof(std::uintptr_t) >= 8 ? 32 : 20;
    return (++sn_Range << kn_Shift) + 1;
}
}  // namespace handle_detail

template <typename T>
class CT_HandleRegistry {
  public:
    // Ranges start far apart and well above zero, so no handle is ever null.
    CT_HandleRegistry() : n_First(handle_detail::sn_NextRange()), n_Next(n_First) {}
    CT_HandleRegistry(const CT_HandleRegistry&) = delete;
    CT_HandleRegistry& operator=(const CT_HandleRegistry&) = delete;

    // A new handle for the record; never null, never equal to a handle given out before.
    void* p_Add(T co_Record) {
        const std::uintptr_t n_Serial = n_Next++;
        co_Records.emplace(n_Serial, std::move(co_Record));
        return reinterpret_cast<void*>(n_Serial);
    }

    // The record behind a live handle; null for null, a released handle or a foreign pointer.
    T* pco_Find(const void* p_Handle) {
        auto co_Found = co_Records.find(n_SerialOf(p_Handle));
        return co_Found == co_Records.end() ? nullptr : &co_Found->second;
    }
    const T* pco_Find(const void* p_Handle) const {
        return const_cast<CT_HandleRegistry*>(this)->pco_Find(p_Handle);
    }

    // True for a handle this registry gave out and that has been released since.
    bool b_WasReleased(const void* p_Handle) const {
        const std::uintptr_t n_Serial = n_SerialOf(p_Handle);
        return n_Serial >= n_First && n_Serial < n_Next && co_Records.count(n_Serial) == 0;
    }

    // Destroys the record and nulls the pointer; null is accepted. Releases run in destructors,
    // so a handle that is not live (released before, or foreign) raises nothing: it is counted
    // and otherwise ignored.
    void v_Release(void*& p_Handle) {
        if (p_Handle == nullptr) {
            return;
        }
        if (co_Records.erase(n_SerialOf(p_Handle)) == 0) {
            ++n_Bad;
        }
        p_Handle = nullptr;
    }

    std::size_t n_Live() const { return co_Records.size(); }
    int n_BadReleases() const { return n_Bad; }

  private:
    static std::uintptr_t n_SerialOf(const void* p_Handle) {
        return reinterpret_cast<std::uintptr_t>(p_Handle);
    }

    std::uintptr_t n_First;
    std::uintptr_t n_Next;
    std::unordered_map<std::uintptr_t, T> co_Records;
    int n_Bad = 0;
};
