#include "terminal_text.h"

#include "core/results/report_text.h"

namespace tokenade::cli {

std::string terminalText(std::string_view text)
{
    std::string shown;
    shown.reserve(text.size());
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        const bool crlf = line.ends_with('\r') && end < text.size();
        if (crlf)
            line.remove_suffix(1);
        shown += displayName(line);
        if (end < text.size())
            shown += crlf ? "\r\n" : "\n";
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return shown;
}

void printOut(std::string_view text, std::FILE* out)
{
    const std::string shown = terminalText(text);
    std::fwrite(shown.data(), 1, shown.size(), out);
}

void printErr(std::string_view text)
{
    printOut(text, stderr);
}

}  // namespace tokenade::cli
