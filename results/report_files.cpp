#include "report_files.h"

#include "results/report_text.h"
#include "sources/path_rules.h"

namespace tokenade {

std::vector<WriteError> saveReportFiles(const std::string& folder, std::span<const Category> categories,
                                        std::span<const NameList* const> lists)
{
    std::vector<WriteError> failures;
    for (size_t i = 0; i < categories.size() && i < lists.size(); ++i) {
        const std::string path = joinPath(folder, categories[i].fileName);
        if (auto failure = writeFileAtomically(path, reportText(categories[i].fileHeader, *lists[i])))
            failures.push_back(std::move(*failure));
    }
    return failures;
}

}  // namespace tokenade
