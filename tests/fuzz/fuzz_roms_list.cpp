// The list reader's work on any bytes: decoding (every byte-order mark,
// truncated sequences) and splitting into names.
#include "core/foundation/text_decoding.h"
#include "core/sources/roms_list.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool holdsNewline(std::string_view name)
{
    return name.find_first_of("\n\v\f\r") != std::string_view::npos || name.find("\xC2\x85") != std::string_view::npos ||
           name.find("\xE2\x80\xA8") != std::string_view::npos || name.find("\xE2\x80\xA9") != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tokenade::DecodeError error;
    const auto text = tokenade::decodeText(bytes, &error);
    if (!text) {
        if (error.offset > bytes.size())
            std::abort();  // the offending byte lies within the bytes
        return 0;
    }
    if (!tokenade::isValidUtf8(*text))
        std::abort();  // whatever was decoded must come out as UTF-8
    size_t total = 0;
    for (std::string_view name : tokenade::splitLines(*text)) {
        if (name.empty() || holdsNewline(name) || !tokenade::isValidUtf8(name))
            std::abort();
        total += name.size();
    }
    if (total > text->size())
        std::abort();
    return 0;
}
