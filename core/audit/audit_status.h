#pragma once

#include <string_view>

namespace tokenade {

// The status texts of the audits, in the order in which they appear.
inline constexpr std::string_view kStatusCachingRomDirs = "Caching Tokenade rom directories...";
inline constexpr std::string_view kStatusCachingVideoDirs = "Caching Tokenade video directories...";
inline constexpr std::string_view kStatusCachingRomsList = "Caching supported rom list...";
inline constexpr std::string_view kStatusCachingAvailableRoms = "Caching available rom list...";
inline constexpr std::string_view kStatusAuditingRoms = "Auditing roms...";
inline constexpr std::string_view kStatusAuditingVideos = "Auditing videos...";

// What the user is told when the supported roms list cannot be used.
inline constexpr std::string_view kInvalidListMessage = "Can't find supported roms list or it is too big.";

}  // namespace tokenade
