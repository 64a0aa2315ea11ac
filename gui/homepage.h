#pragma once

// The product's homepage, which the homepage command opens. The build may set
// another address (the CMake option TOKENADE_HOMEPAGE).
#ifndef TOKENADE_HOMEPAGE
#define TOKENADE_HOMEPAGE "https://tokenade.example.org/auditor"
#endif

inline constexpr const char* kHomepage = TOKENADE_HOMEPAGE;

// The program's version, as the build gives it.
#ifndef TOKENADE_VERSION
#define TOKENADE_VERSION "unknown"
#endif

inline constexpr const char* kVersion = TOKENADE_VERSION;
