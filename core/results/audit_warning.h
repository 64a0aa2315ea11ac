#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

// What an audit found wrong with its inputs: the results are as they should
// be, but the user must know why they may not be what was meant.
enum class WarningKind {
    NoRomFolders,       // the directory is not a folder, or holds none of the rom folders
    NoVideoFolders,     // likewise for the video folders
    UnreadableFolders,  // folders that could not be read: their files may show as missing
    RepeatedLines,      // list lines that expect the same file as an earlier line
    BlankLines,         // list lines made only of spaces or tabs
    SpacedLines,        // other list lines with leading or trailing spaces or tabs
    CutLines,           // list lines whose extension rewrite cut text after a period
    WrongContent,       // archives whose content is another game than their name says (with a DAT)
    UnmetNeeds,         // listed sets whose parent, BIOS or device archive is missing or short (with a DAT)
    BatchLeftovers,     // files a batch of changes cut short left under its temporary names
};

struct AuditWarning {
    WarningKind kind;
    std::string message;                // one sentence for the user, with the count
    size_t count = 0;                   // how many folders or lines
    std::vector<std::string> examples;  // up to three, each as the user should read it
};

// "no-rom-folders", "unreadable-folders", ...: the kind as the command line's JSON names it.
std::string_view warningKey(WarningKind kind);

}  // namespace tokenade
