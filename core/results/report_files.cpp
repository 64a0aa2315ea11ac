#include "report_files.h"

#include "core/results/report_text.h"
#include "core/sources/path_rules.h"

namespace tokenade {

std::vector<WriteError> saveReportFiles(const std::string& folder, const AuditResult& result)
{
    std::vector<WriteError> failures;
    for (const ResultCategory& category : result.categories) {
        AtomicFile file(joinPath(folder, category.facts->fileName));
        writeReportText(category.facts->reportHeader, category.entries, "\r\n",
                        [&](std::string_view piece) { file.write(piece); });
        if (auto failure = file.commit())
            failures.push_back(std::move(*failure));
    }
    return failures;
}

}  // namespace tokenade
