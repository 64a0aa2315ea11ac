// Times each phase of a ROM audit on a collection: walk, keys, sort, list,
// merge, write. The same core calls as the audit, taken apart.
#include "audit/name_merge.h"
#include "platform/foundation/folder_walk.h"
#include "results/report_files.h"
#include "sources/extension_rewrite.h"
#include "sources/folder_scan.h"
#include "sources/path_rules.h"
#include "sources/roms_list.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

using namespace tokenade;

namespace {

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: audit_phases DIR LIST OUTFOLDER\n");
        return 2;
    }
    const std::string directory = argv[1];
    const std::string listPath = argv[2];
    const std::string out = argv[3];
    std::filesystem::create_directories(out);

    auto start = std::chrono::steady_clock::now();
    std::vector<std::string> roots;
    for (const auto& folder : folderNames(kRomFolders))
        roots.push_back(joinPath(directory, folder));
    const unsigned threads = walkThreads();
    std::vector<NameList> perThread(threads);
    walkFoldersInParallel(roots, threads, [&](unsigned thread, const WalkEntry& entry) {
        if (entry.type == EntryType::Regular && hasExtension(entry.name, kRomExtension))
            perThread[thread].emplace_back(entry.name);
    });
    NameList names;
    for (auto& list : perThread)
        names.insert(names.end(), std::make_move_iterator(list.begin()), std::make_move_iterator(list.end()));
    std::printf("phase walk %.4f\n", secondsSince(start));

    start = std::chrono::steady_clock::now();
    KeyedNames found(std::move(names), SortBy::WholeName);
    std::printf("phase keys %.4f\n", secondsSince(start));

    start = std::chrono::steady_clock::now();
    found.sort(threads);
    std::printf("phase sort %.4f\n", secondsSince(start));

    start = std::chrono::steady_clock::now();
    std::optional<NameList> lines = readRomsListLines(listPath);
    if (!lines)
        return 1;
    setExtension(kRomExtension, *lines);
    KeyedNames expected(std::move(*lines), SortBy::WholeName);
    expected.sort();
    std::printf("phase list %.4f\n", secondsSince(start));

    start = std::chrono::steady_clock::now();
    MergedNames merged = mergeNames(found, expected);
    std::printf("phase merge %.4f\n", secondsSince(start));

    start = std::chrono::steady_clock::now();
    const NameList* lists[] = {&merged.valid, &merged.missing, &merged.unknown};
    const bool written = saveReportFiles(out, kRomCategories, lists).empty();
    std::printf("phase write %.4f\n", secondsSince(start));
    return written ? 0 : 3;
}
