#include "input_warnings.h"

#include "core/sources/path_rules.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

namespace tokenade {
namespace {

constexpr size_t kExamples = 3;

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isSpaceOrTab(char c)
{
    return c == ' ' || c == '\t';
}

std::string counted(size_t count, std::string_view one, std::string_view many)
{
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

// A warning with its first examples; `example` gives the example of an item.
template <typename Item, typename Example>
AuditWarning warningOf(WarningKind kind, std::string message, const std::vector<Item>& items, Example&& example)
{
    AuditWarning warning{kind, std::move(message), items.size(), {}};
    for (size_t i = 0; i < items.size() && i < kExamples; ++i)
        warning.examples.push_back(example(items[i]));
    return warning;
}

std::string joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// Why none of the folders is there, or "" when one of them is.
std::string whyNoFolders(const std::string& directory, const std::vector<std::string>& folderSet,
                         const std::vector<int>& folderErrors)
{
    for (int error : folderErrors) {
        if (error != ENOENT && error != ENOTDIR)
            return "";
    }
    struct stat status;
    if (::stat(directory.empty() ? "." : directory.c_str(), &status) != 0)
        return "The Tokenade directory " + directory + " does not exist";
    if (!S_ISDIR(status.st_mode))
        return "The Tokenade directory " + directory + " is not a folder";
    return "None of the folders " + joined(folderSet) + " is in " + (directory.empty() ? "." : directory);
}

}  // namespace

bool looksLikeExtension(std::string_view text)
{
    if (text.size() == 2 && (text[0] == '7') && (text[1] == 'z' || text[1] == 'Z'))
        return true;
    if (text.size() < 2 || text.size() > 4 || !isAsciiLetter(text[0]))
        return false;
    return std::all_of(text.begin(), text.end(), [](char c) { return isAsciiLetter(c) || (c >= '0' && c <= '9'); });
}

bool periodCutsName(std::string_view line)
{
    if (line.find('.') == std::string_view::npos)  // most lines: one memchr, no walk back through the path
        return false;
    const std::string_view component = lastPathComponent(line);
    const size_t period = component.rfind('.');
    // A final period ("H.E.R.O.", "Super Mario Bros.") gives way to the extension and cuts nothing.
    return period != std::string_view::npos && period > 0 && period + 1 < component.size() &&
           !looksLikeExtension(component.substr(period + 1));
}

std::optional<AuditWarning> missingFoldersWarning(const std::string& directory,
                                                  const std::vector<std::string>& folderSet,
                                                  const std::vector<int>& folderErrors, WarningKind kind,
                                                  std::string_view consequence)
{
    const std::string why = whyNoFolders(directory, folderSet, folderErrors);
    if (why.empty())
        return std::nullopt;
    return warningOf(kind, why + ": " + std::string(consequence) + ".", folderSet,
                     [](const std::string& folder) { return folder; });
}

std::optional<AuditWarning> unreadableFoldersWarning(std::vector<std::string> folders)
{
    if (folders.empty())
        return std::nullopt;
    std::sort(folders.begin(), folders.end());
    return warningOf(WarningKind::UnreadableFolders,
                     counted(folders.size(), "folder", "folders") +
                         " could not be read: the files in them may show as missing.",
                     folders, [](const std::string& folder) { return folder; });
}

std::optional<AuditWarning> leftoversWarning(std::vector<std::string> files)
{
    if (files.empty())
        return std::nullopt;
    return warningOf(WarningKind::BatchLeftovers,
                     "An interrupted batch left " + counted(files.size(), "temporary file", "temporary files") +
                         (files.size() == 1 ? "; Undo removes it." : "; Undo removes them."),
                     files, [](const std::string& file) { return file; });
}

std::vector<AuditWarning> listWarnings(const RomsList& list, const KeyedNames& expected)
{
    // The expected name of each line, by line.
    std::vector<std::string_view> expectedOf(list.lines.size());
    for (const KeyedName& name : expected.all())
        expectedOf[name.origin] = name.name();
    // In a run of names alike, every line but the first of the file repeats it.
    std::vector<size_t> repeated;
    for (size_t start = 0, end; start < expected.size(); start = end) {
        end = start + 1;
        uint32_t first = expected[start].origin;
        while (end < expected.size() && compareSringsCaseInsensitive(expected[start], expected[end]) == 0)
            first = std::min(first, expected[end++].origin);
        for (size_t i = start; i < end; ++i) {
            if (expected[i].origin != first)
                repeated.push_back(expected[i].origin);
        }
    }
    std::sort(repeated.begin(), repeated.end());

    std::vector<size_t> blank, spaced, cut;
    for (size_t line = 0; line < list.lines.size(); ++line) {
        const std::string_view text = list.lines[line];
        if (std::all_of(text.begin(), text.end(), isSpaceOrTab))
            blank.push_back(line);
        else if (isSpaceOrTab(text.front()) || isSpaceOrTab(text.back()))
            spaced.push_back(line);
        if (periodCutsName(text))
            cut.push_back(line);
    }

    const auto lineAndExpected = [&](size_t line) { return quoted(list.lines[line]) + " -> " + quoted(expectedOf[line]); };
    std::vector<AuditWarning> warnings;
    if (!repeated.empty())
        warnings.push_back(warningOf(WarningKind::RepeatedLines,
                                     counted(repeated.size(), "list line expects", "list lines expect") +
                                         " the same file as an earlier line: such a game shows as valid and as "
                                         "missing at once.",
                                     repeated, lineAndExpected));
    if (!blank.empty())
        warnings.push_back(warningOf(WarningKind::BlankLines,
                                     counted(blank.size(), "list line is", "list lines are") +
                                         " made only of spaces or tabs: no file is ever given such a name.",
                                     blank, lineAndExpected));
    if (!spaced.empty())
        warnings.push_back(warningOf(WarningKind::SpacedLines,
                                     counted(spaced.size(), "list line begins or ends", "list lines begin or end") +
                                         " with spaces or tabs: the file names expected keep them.",
                                     spaced, lineAndExpected));
    if (!cut.empty()) {
        // The whole line as a name: what the line expects once it is given the extension.
        std::string whole(list.lines[cut.front()]);
        whole += "." + std::string(pathExtension(expectedOf[cut.front()]));
        warnings.push_back(warningOf(WarningKind::CutLines,
                                     counted(cut.size(), "list line has", "list lines have") +
                                         " a period that starts an extension: the text after it is cut off the "
                                         "file name expected. Either the file is renamed to that name, or the line "
                                         "is given the extension (" + quoted(whole) +
                                         "), which makes it expect the whole title.",
                                     cut, lineAndExpected));
    }
    return warnings;
}

}  // namespace tokenade
