// Times each phase of a ROM audit on a collection: walk (with the keys),
// sort, list, merge, write. The same core calls as the audit, taken apart.
#include "core/audit/name_merge.h"
#include "core/foundation/folder_walk.h"
#include "core/results/report_files.h"
#include "core/sources/extension_rewrite.h"
#include "core/sources/folder_scan.h"
#include "core/sources/roms_list.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

using namespace tokenade;

namespace {

class Phase {
public:
    explicit Phase(const char* name) : name_(name), start_(std::chrono::steady_clock::now()) {}
    ~Phase()
    {
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start_;
        std::printf("phase %s %.4f\n", name_, elapsed.count());
    }

private:
    const char* name_;
    std::chrono::steady_clock::time_point start_;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: audit_phases DIR LIST OUTFOLDER\n");
        return 2;
    }
    const std::string directory = argv[1];
    std::filesystem::create_directories(argv[3]);

    FoundNames found;
    {
        Phase phase("walk");
        found = gatherFilenamesFromDirs(directory, folderNames(kRomFolders), kRomExtension);
    }
    {
        Phase phase("sort");
        found.names.sort(sortThreads());
    }
    RomsListRead list;
    KeyedNames expected;
    {
        Phase phase("list");
        list = cacheRomsListFile(argv[2]);
        if (!list.list)
            return 1;
        expected = setExtension(kRomExtension, list.list->lines);
        expected.sort();
    }
    AuditResult result = AuditResult::empty(AuditKind::Roms);
    {
        Phase phase("merge");
        MergedNames merged = mergeNames(found.names, expected);
        result.categories[0].entries = std::move(merged.valid);
        result.categories[1].entries = std::move(merged.missing);
        result.categories[2].entries = std::move(merged.unknown);
    }
    Phase phase("write");
    return saveReportFiles(argv[3], result).empty() ? 0 : 3;
}
