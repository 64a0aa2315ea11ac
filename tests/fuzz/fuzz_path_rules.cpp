// The path rules and the extension rewrite on any name and extension.
#include "core/sources/path_rules.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace tokenade;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first byte says where the extension starts.
    if (size == 0)
        return 0;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t split = std::min<size_t>(data[0] % 8, rest.size());
    const std::string extension(rest.substr(0, split));
    const std::string name(rest.substr(split));

    const std::string_view last = lastPathComponent(name);
    if (last != "/" && last.find('/') != std::string_view::npos)
        std::abort();
    if (pathExtension(name).find('/') != std::string_view::npos)
        std::abort();

    // The rewrite keeps the name up to its extension's period and ends in the new extension.
    std::string rewritten = name;
    replacePathExtension(rewritten, extension);
    if (rewritten.size() < extension.size() + 1 || rewritten.compare(rewritten.size() - extension.size(),
                                                                      extension.size(), extension) != 0)
        std::abort();

    // A plain extension is what the rewritten name then carries, and a second
    // rewrite changes nothing; except where the stem is empty ("/" gives
    // "/.zip", whose last component is a hidden name without extension).
    const bool plain = !extension.empty() && extension.find_first_of("./") == std::string::npos &&
                       extension.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789") == std::string::npos;
    if (plain) {
        const bool emptyStem = lastPathComponent(rewritten) == "." + extension;
        if (!emptyStem && !hasExtension(rewritten, extension))
            std::abort();
        std::string again = rewritten;
        replacePathExtension(again, extension);
        if (!emptyStem && again != rewritten)
            std::abort();
    }
    return 0;
}
