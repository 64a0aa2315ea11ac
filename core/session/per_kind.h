#pragma once

#include "core/results/categories.h"

#include <array>
#include <cstddef>

namespace tokenade {

// Both kinds of audit, in the order of the window's tabs.
inline constexpr std::array<AuditKind, 2> kAuditKinds{AuditKind::Roms, AuditKind::Videos};

// One entry of T for each kind of audit, looked up by kind: what the window
// and its model keep per tab lives in one place, never in pairs of fields
// picked by kind. Value-initialised entries to start with.
template <typename T>
class PerKind {
public:
    T& operator[](AuditKind kind) { return entries_[index(kind)]; }
    const T& operator[](AuditKind kind) const { return entries_[index(kind)]; }

private:
    static_assert(static_cast<size_t>(AuditKind::Roms) == 0 && static_cast<size_t>(AuditKind::Videos) == 1);
    static constexpr size_t index(AuditKind kind) { return static_cast<size_t>(kind); }

    std::array<T, 2> entries_{};
};

}  // namespace tokenade
