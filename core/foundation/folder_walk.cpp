#include "folder_walk.h"

#include "folder_reader.h"
#include "path_join.h"

#include <algorithm>
#include <vector>

namespace tokenade {
namespace {

struct FolderEntry {
    std::string name;
    EntryType type;
};

struct OpenFolder {
    std::string path;  // relative to the root
    std::vector<FolderEntry> entries;
    size_t next = 0;
};

std::vector<FolderEntry> sortedEntries(FolderOpener& opener, const std::string& root, const std::string& folder)
{
    std::vector<FolderEntry> entries;
    FolderReader reader(opener.open(joinPath(root, folder), folder.empty()));
    // A folder that cannot be read is left out: this walk reports no failures.
    reader.forEach([&](std::string_view name, EntryType type) {
        entries.push_back({std::string(name), type});
        return true;
    });
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return entries;
}

}  // namespace

bool walkFolder(const std::string& root, const WalkVisitor& visit, std::stop_token stop)
{
    FolderOpener opener;
    std::vector<OpenFolder> stack;
    stack.push_back({"", sortedEntries(opener, root, ""), 0});
    while (!stack.empty()) {
        OpenFolder& top = stack.back();
        if (top.next == top.entries.size()) {
            stack.pop_back();
            continue;
        }
        const FolderEntry& entry = top.entries[top.next++];
        if (visit(WalkEntry{top.path, entry.name, entry.type}) == WalkStep::Stop)
            return false;
        if (entry.type == EntryType::Directory) {
            if (stop.stop_requested())
                return false;
            std::string path = joinPath(top.path, entry.name);
            auto entries = sortedEntries(opener, root, path);
            stack.push_back({std::move(path), std::move(entries), 0});  // `top` is invalid from here
        }
    }
    return true;
}

}  // namespace tokenade
