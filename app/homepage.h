#pragma once

// The product's homepage, which the homepage command opens. The build may set
// another address (the CMake option TOKENADE_HOMEPAGE).
#ifndef TOKENADE_HOMEPAGE
#define TOKENADE_HOMEPAGE "https://tokenade.example.org/auditor"
#endif

inline constexpr const char* kHomepage = TOKENADE_HOMEPAGE;
