#pragma once

#include "sources/keyed_names.h"
#include "sources/name_list.h"

#include <atomic>
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

// The bare names of all regular files whose extension, in lower case, is
// `extension`, found at any depth below each folder (joined to `directory`),
// sorted in the shared order. Links are neither collected nor entered; a
// folder that is missing or cannot be read adds nothing. Never fails; repeats
// are kept. `filesSeen`, when given, counts every entry met, for progress.
NameList cacheFilenamesFromDirs(const std::string& directory, const std::vector<std::string>& folders,
                                std::string_view extension, std::atomic<size_t>* filesSeen = nullptr);

// The same names, unsorted, each with its key for SortBy::WholeName (which,
// for bare file names, is also the shared order). The audits start here.
KeyedNames scanFolders(const std::string& directory, const std::vector<std::string>& folders,
                       std::string_view extension, std::atomic<size_t>* filesSeen = nullptr);

// The scan of the rom folders for "zip" archives.
NameList cacheTokenadeRomDirs(const std::string& directory, std::atomic<size_t>* filesSeen = nullptr);

// The scan of the video folders for "xmv" videos.
NameList cacheTokenadeVideoDirs(const std::string& directory, std::atomic<size_t>* filesSeen = nullptr);

}  // namespace tokenade
