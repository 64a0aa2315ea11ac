#include "folder_walk.h"

#include "folder_reader.h"

#include <algorithm>
#include <vector>

namespace tokenade {
namespace {

std::string joinRelative(std::string_view parent, std::string_view name)
{
    std::string path;
    path.reserve(parent.size() + 1 + name.size());
    path.append(parent);
    if (!parent.empty())
        path.push_back('/');
    path.append(name);
    return path;
}

std::string absolutePath(const std::string& root, std::string_view relative)
{
    if (relative.empty())
        return root;
    std::string path = root;
    if (path.empty() || path.back() != '/')
        path.push_back('/');
    path.append(relative);
    return path;
}

bool walkAnyOrder(const std::string& root, const WalkVisitor& visit)
{
    FolderOpener opener;
    std::vector<std::string> pending{""};
    std::vector<std::string> subfolders;
    while (!pending.empty()) {
        const std::string folder = std::move(pending.back());
        pending.pop_back();
        subfolders.clear();
        bool stopped = false;
        FolderReader reader(opener.open(absolutePath(root, folder), folder.empty()));
        reader.forEach([&](std::string_view name, EntryType type) {
            if (visit(WalkEntry{folder, name, type}) == WalkStep::Stop) {
                stopped = true;
                return false;
            }
            if (type == EntryType::Directory)
                subfolders.push_back(joinRelative(folder, name));
            return true;
        });
        if (stopped)
            return false;
        // Reversed so that the stack hands folders out in the order they were met.
        std::move(subfolders.rbegin(), subfolders.rend(), std::back_inserter(pending));
    }
    return true;
}

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
    FolderReader reader(opener.open(absolutePath(root, folder), folder.empty()));
    reader.forEach([&](std::string_view name, EntryType type) {
        entries.push_back({std::string(name), type});
        return true;
    });
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return entries;
}

bool walkPreorder(const std::string& root, const WalkVisitor& visit)
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
            std::string path = joinRelative(top.path, entry.name);
            auto entries = sortedEntries(opener, root, path);
            stack.push_back({std::move(path), std::move(entries), 0});  // `top` is invalid from here
        }
    }
    return true;
}

}  // namespace

bool walkFolder(const std::string& root, WalkOrder order, const WalkVisitor& visit)
{
    return order == WalkOrder::Preorder ? walkPreorder(root, visit) : walkAnyOrder(root, visit);
}

}  // namespace tokenade
