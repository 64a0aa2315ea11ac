#pragma once

#include "core/repair/change.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tokenade {

// Why a change is offered.
enum class OfferKind {
    NearMiss,  // a missing game's file is there under a name nearly the same
    CutName,   // a file named as a whole list line whose period makes the line expect a shorter name
    Follower,  // the video of a renamed archive, or the archive of a renamed video
    Content,   // an archive that holds a missing game whole, by the sizes and CRCs of its files
    Fill,      // a missing game's file found in a source folder
    SetAside,  // an unknown or extra file to be moved out of the way
};

// One change that a plan offers, for the user to tick or not: enough for a
// row of the window or a line of the command line.
struct OfferedChange {
    OfferKind kind = OfferKind::NearMiss;
    Change change;
    std::string expected;      // the name the list expects ("" for a set-aside)
    uint8_t differences = 0;   // a set of Difference between the file's name and `expected`
    std::string shownSource;   // where the file lies, as the user knows it ("roms/Sega/x.zip", "Downloads/x.zip")
    bool tickedByDefault = true;
    std::string refusal;       // why it cannot be made; "" when it can
    int follows = -1;          // Follower: the item whose rename it follows
    std::string caution = {};  // what speaks against it, and so it is not ticked by default; "" for nothing
    std::string reason = {};   // found by content: what the archive holds ("content: holds Castelo"); else ""
};

// What a plan offers, and what the user should know before ticking: the
// free space where copies go. `problem` says why there is no plan at all.
// Holds no view into a result: it may outlive the audit it came from.
struct ChangePlan {
    std::vector<OfferedChange> items;
    std::string problem;
    uint64_t freeSpace = 0;  // where a fill's copies go; 0 for other plans

    std::vector<bool> defaultTicks() const;
    // The changes of the items ticked in `ticks` (one per item) that can be made.
    std::vector<Change> chosen(const std::vector<bool>& ticks) const;
    // The bytes those changes copy (links and renames copy none).
    uint64_t bytesToCopy(const std::vector<bool>& ticks) const;
};

// The real path of an absolute or relative `path`, links resolved; a part
// that does not exist yet is kept as written below the real path of the
// part that does. Nothing when even "/" cannot be resolved.
std::optional<std::string> resolvedPath(const std::string& path);

// True when `path` is `folder` or lies below it (both real paths).
bool isWithin(const std::string& path, const std::string& folder);

}  // namespace tokenade
