#pragma once

#include "core/content/dat_index.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace tokenade {

// How a collection lays out the machines of a family (a parent, its clones,
// the BIOS they run on) in archives.
// - Split: each archive holds the roms no parent or BIOS provides.
// - NonMerged: also the parent's roms, never the BIOS's.
// - FullNonMerged: also the BIOS's and the devices' roms: needs nothing beside.
// - Merged: the parent's archive holds its clones' own roms too; a clone has
//   no archive of its own.
enum class SetForm : uint8_t { Split, NonMerged, FullNonMerged, Merged };
inline constexpr SetForm kSetForms[] = {SetForm::Split, SetForm::NonMerged, SetForm::FullNonMerged, SetForm::Merged};

// "split", "non-merged", "full-non-merged", "merged": as the command line
// takes and writes them.
std::string_view setFormKey(SetForm form);
std::optional<SetForm> parseSetForm(std::string_view key);

// Why a set needs another machine's archive.
enum class NeedKind : uint8_t { Parent, Bios, Device };
std::string_view needKindKey(NeedKind kind);  // "parent", "BIOS", "device"

// A rom an archive holds. A merged parent's archive holds its clones' own
// roms under the clone that lists them.
struct SetRom {
    uint32_t rom = 0;      // into DatIndex::roms
    uint32_t machine = 0;  // the machine whose entry lists it
    // Neither "nodump" nor optional: a set without it is not complete.
    bool required = false;
    // In a merged archive, another rom of the family already has this name
    // with other content (a clone's rom named as the parent's): a writer must
    // place it apart. Matching by content does not care.
    bool nameTaken = false;
};

// Another machine's archive a set cannot run without.
struct SetNeed {
    uint32_t machine = 0;
    NeedKind kind = NeedKind::Parent;

    auto operator<=>(const SetNeed&) const = default;
};

// What one machine's archive holds in one form and what it needs beside it.
struct SetContents {
    // The machine whose archive holds the roms: the machine itself, or in
    // merged form a clone's parent (and then `roms` is empty: the parent's
    // contents list them).
    uint32_t archive = 0;
    std::vector<SetRom> roms;
    std::vector<uint32_t> disks;  // into DatIndex::disks
    std::vector<SetNeed> needs;   // by machine, each once

    // The roms a set cannot be complete without, each file (size and CRC) once.
    std::vector<ContentKey> requiredKeys(const DatIndex& dat) const;
};

// The families of a DAT and where each rom of a machine lives, worked out
// once from the DAT alone. Keeps a reference to `dat`, which must outlive it;
// thread-safe once made.
//
// Where a rom lives (its origin): a rom is inherited from the machine its
// machine's `romof` names when that machine has the rom the `merge`
// attribute names, of the same size and CRC; the origin is followed up
// `romof` (a clone's BIOS rom names the parent's, which names the BIOS's).
// Name and CRC both, not CRC alone: MAME's own catalogue gives `merge` on
// every shared rom, and a clone rom without it (even of a CRC the parent
// has) is one the clone's archive holds. A `merge` that names a rom the
// parent lacks, or has with other content, keeps the rom in the clone and
// is listed in mergesNotFound(). Only a DAT without a single `merge` (a
// Logiqx DAT cut without them) is matched by size and CRC alone.
// A rom whose origin is a machine marked `isbios` is a BIOS rom; every rom
// of such a machine is.
//
// Devices are followed, not flattened: a set needs each device (by
// `device_ref`, followed through the devices' own references) that has a
// required rom, except in full non-merged form, whose archive holds the
// devices' roms itself.
class SetRules {
public:
    explicit SetRules(const DatIndex& dat);

    // The machine of this short name, kNoGame when the DAT has none.
    uint32_t machineNamed(std::string_view name) const { return dat_.gameByName(name); }
    // The same within the DAT of machine `beside`: of several DATs read as
    // one, a parent or a device is another machine of its own DAT.
    uint32_t machineNamed(std::string_view name, uint32_t beside) const
    {
        return dat_.gameByName(name, dat_.games[beside].dat);
    }
    // The machine `cloneof` names, kNoGame for a parent or when the DAT lacks it.
    uint32_t parentOf(uint32_t machine) const { return parent_[machine]; }
    // The machines whose parent this is, in DAT order.
    std::span<const uint32_t> clonesOf(uint32_t machine) const;
    // The machine whose own set holds this rom (see above).
    uint32_t originOf(uint32_t rom) const { return origin_[rom]; }
    bool isBiosRom(uint32_t rom) const;
    // The machines of the devices a machine references (through devices'
    // own references too) that have a required rom, each once, never itself.
    std::vector<uint32_t> devicesOf(uint32_t machine) const;
    // Roms whose `merge` names a rom their parent does not have.
    std::span<const uint32_t> mergesNotFound() const { return mergesNotFound_; }

    // What `machine`'s archive holds in `form`, and what it needs beside.
    SetContents contents(uint32_t machine, SetForm form) const;

    const DatIndex& dat() const { return dat_; }

private:
    void linkFamilies();
    void placeRoms();
    uint32_t resolveOrigin(uint32_t rom, std::vector<uint8_t>& state);
    uint32_t inheritedRom(uint32_t rom) const;
    uint32_t diskOrigin(uint32_t disk) const;
    void addOwnRoms(uint32_t machine, bool withParents, bool withBios, SetContents& into) const;
    void addNeeds(uint32_t machine, SetForm form, SetContents& into) const;

    const DatIndex& dat_;
    bool byMergeName_ = false;                               // some rom gives `merge`
    std::vector<uint32_t> parent_;     // per machine: cloneof's machine or kNoGame
    std::vector<uint32_t> romOf_;      // per machine: romof's machine or kNoGame
    std::vector<uint32_t> cloneFrom_;  // per machine: where its clones begin in clones_; one more at the end
    std::vector<uint32_t> clones_;
    std::vector<uint32_t> machineOfRom_;  // per rom: the machine that lists it
    std::vector<uint32_t> machineOfDisk_;
    std::vector<uint32_t> origin_;        // per rom
    std::vector<uint32_t> mergesNotFound_;
};

}  // namespace tokenade
