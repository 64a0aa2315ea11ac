#include "core/content/dat_builder.h"
#include "core/content/dat_parsers.h"
#include "core/foundation/grouped_count.h"

#include <cstring>
#include <vector>

namespace tokenade {
namespace {

// The checksums, the path and the size with the tabs between them: a line
// longer than this holds no file.
constexpr size_t kLineLimit = 2 * kDatTextLimit;

struct Field {
    std::string_view text;
    uint64_t column = 1;
};

bool allHex(std::string_view text, size_t digits)
{
    if (text.size() != digits)
        return false;
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))
            return false;
    }
    return true;
}

// The file's name without its folders, and that name without its extension:
// the game a line stands for. A name that only begins with a dot keeps it.
std::string_view fileNameOf(std::string_view path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view withoutExtension(std::string_view file)
{
    const size_t dot = file.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? file : file.substr(0, dot);
}

// Reads one file a line: SHA-256, path, SHA-1, MD5, CRC-32 and, in some
// lists, the size, between tabs. Each line is a game of one rom.
class SmdbReader {
public:
    SmdbReader(DatSource& source, std::string_view first, const std::string& path, uint64_t bytes)
        : source_(source), chunk_(first), builder_(DatFormat::Smdb, bytes)
    {
        problem_.path = path;
        if (chunk_.starts_with("\xEF\xBB\xBF"))
            chunk_.remove_prefix(3);
    }

    DatRead read()
    {
        while (!failed_ && nextLine()) {
            if (!line_.empty())
                readLine();
        }
        if (failed_)
            return {std::nullopt, problem_};
        if (source_.error() != 0)
            return failure(1, std::string("cannot be read (") + std::strerror(source_.error()) + ")");
        DatIndex index;
        if (std::string problem = builder_.finish(index); !problem.empty())
            return failure(1, problem);
        return {std::move(index), {}};
    }

private:
    // The next line into line_, without its CR LF or LF; false at the end.
    bool nextLine()
    {
        line_.clear();
        bool any = false;
        ++lineNumber_;
        while (true) {
            if (chunk_.empty()) {
                chunk_ = source_.next();
                if (chunk_.empty())
                    break;
            }
            any = true;
            const size_t end = chunk_.find('\n');
            const std::string_view part = chunk_.substr(0, end);
            if (line_.size() + part.size() > kLineLimit) {
                fail(1, "a line longer than " + groupedCount(kLineLimit) + " bytes");
                return false;
            }
            line_.append(part);
            chunk_.remove_prefix(end == std::string_view::npos ? chunk_.size() : end + 1);
            if (end != std::string_view::npos)
                break;
        }
        if (!line_.empty() && line_.back() == '\r')
            line_.pop_back();
        return any;
    }

    void readLine()
    {
        std::vector<Field>& fields = fields_;
        fields.clear();
        for (size_t at = 0;;) {
            const size_t tab = line_.find('\t', at);
            fields.push_back({std::string_view(line_).substr(at, tab - at), at + 1});
            if (tab == std::string::npos || fields.size() > 6)
                break;
            at = tab + 1;
        }
        if (fields.size() < 5 || fields.size() > 6) {
            fail(1, "a line of " + std::to_string(fields.size()) + (fields.size() > 6 ? " or more" : "") +
                        " fields, not 5 or 6 (SHA-256, path, SHA-1, MD5, CRC and the size)");
            return;
        }
        const Field &sha256 = fields[0], &path = fields[1], &sha1 = fields[2], &md5 = fields[3];
        if (!allHex(sha256.text, 64))
            return fail(sha256.column, "a SHA-256 that is not 64 hex digits");
        if (!allHex(sha1.text, 40))
            return fail(sha1.column, "a SHA-1 that is not 40 hex digits");
        if (!allHex(md5.text, 32))
            return fail(md5.column, "an MD5 that is not 32 hex digits");
        const std::string_view file = fileNameOf(path.text);
        if (withoutExtension(file).empty())
            return fail(path.column, "a path without a file name");
        RomFields rom;
        rom.name = file;
        rom.sha1 = sha1.text;
        rom.crc = fields[4].text;
        rom.hasCrc = true;
        rom.hasSize = fields.size() == 6;
        if (rom.hasSize)
            rom.size = fields[5].text;
        if (!check(path.column, builder_.startGame()) || !check(path.column, builder_.setName(withoutExtension(file))))
            return;
        const std::string problem = builder_.addRom(rom);
        const uint64_t column = problem.starts_with("a size") ? fields.back().column
                                : problem.starts_with("a CRC") ? fields[4].column
                                                               : path.column;
        if (check(column, problem))
            check(path.column, builder_.endGame());
    }

    bool check(uint64_t column, const std::string& problem)
    {
        if (!problem.empty())
            fail(column, problem);
        return problem.empty();
    }

    void fail(uint64_t column, std::string reason)
    {
        if (failed_)
            return;
        failed_ = true;
        problem_.line = lineNumber_;
        problem_.column = column;
        problem_.reason = std::move(reason);
    }

    DatRead failure(uint64_t column, std::string reason)
    {
        fail(column, std::move(reason));
        return {std::nullopt, problem_};
    }

    DatSource& source_;
    std::string_view chunk_;
    std::string line_;
    std::vector<Field> fields_;  // of the line, kept for the next
    uint64_t lineNumber_ = 0;
    DatBuilder builder_;
    bool failed_ = false;
    DatProblem problem_;
};

}  // namespace

bool looksLikeSmdb(std::string_view first)
{
    if (first.starts_with("\xEF\xBB\xBF"))
        first.remove_prefix(3);
    return first.size() > 64 && allHex(first.substr(0, 64), 64) && first[64] == '\t';
}

DatRead parseSmdbDat(DatSource& source, std::string_view first, const std::string& path, uint64_t bytes)
{
    return SmdbReader(source, first, path, bytes).read();
}

}  // namespace tokenade
