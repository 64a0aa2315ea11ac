#pragma once

#include "core/sources/keyed_names.h"

#include <atomic>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

// The folder sets of a Tokenade directory, each a comma-separated text.
inline constexpr std::string_view kRomFolders = "roms,roms16BitConsoles,romsConsoles";
inline constexpr std::string_view kVideoFolders = "videos,videos2,videos3,videos4,videosextra";
inline constexpr std::string_view kRomExtension = "zip";
inline constexpr std::string_view kVideoExtension = "xmv";

// Splits a stored folder set at ",".
std::vector<std::string> folderNames(std::string_view folderSet);

// How a scan runs: all members may be left as they are.
struct ScanControl {
    std::atomic<size_t>* filesSeen = nullptr;  // counts every entry met, for progress
    std::stop_token stop;                      // checked between folders
};

// The files of one kind found below the folders of a Tokenade directory.
struct FoundNames {
    KeyedNames names;  // sorted; a name's origin is the index of its folder in `folders`
    // Every folder that holds a found name, relative to the Tokenade directory,
    // in byte order: a folder of the set is its own name ("roms"), one below
    // it "roms/Sega/A-F".
    std::vector<std::string> folders;
    // Per folder of the set, in its order: 0 when it was read, else the
    // system's error number (ENOENT: not there; ENOTDIR: not a folder).
    std::vector<int> folderErrors;
    // Folders that exist but could not be read, relative to the directory:
    // the names in them are not among the found names.
    std::vector<std::string> unreadable;
    // Regular files under a batch's temporary name (isBatchTemporaryName),
    // left by a batch cut short, relative to the directory, sorted.
    std::vector<std::string> leftovers;
};

// The bare names of all regular files whose extension, in lower case, is
// `extension`, found at any depth below each folder (joined to `directory`),
// sorted in the order of the merges. Links are neither collected nor
// entered; a folder that is missing or cannot be read adds no name but is
// named in the result. Repeats are kept. A stopped scan returns what it found
// so far; the caller knows it asked to stop.
FoundNames cacheFilenamesFromDirs(const std::string& directory, const std::vector<std::string>& folders,
                                  std::string_view extension, const ScanControl& control = {});

// The same names before the sort: the walk alone, for whoever times it.
FoundNames gatherFilenamesFromDirs(const std::string& directory, const std::vector<std::string>& folders,
                                   std::string_view extension, const ScanControl& control = {});

// The scan of the rom folders for "zip" archives.
FoundNames cacheTokenadeRomDirs(const std::string& directory, const ScanControl& control = {});

// The scan of the video folders for "xmv" videos.
FoundNames cacheTokenadeVideoDirs(const std::string& directory, const ScanControl& control = {});

}  // namespace tokenade
