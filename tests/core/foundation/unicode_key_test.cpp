#include "core/foundation/text_decoding.h"
#include "core/foundation/unicode_key.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace tokenade {
namespace {

// A line of code points in hexadecimal ("0041 030A") as UTF-8.
std::string fromCodePoints(const std::string& field)
{
    std::istringstream in(field);
    std::string text;
    std::string hex;
    while (in >> hex)
        appendUtf8(text, static_cast<char32_t>(std::stoul(hex, nullptr, 16)));
    return text;
}

std::vector<std::string> split(const std::string& line, char separator)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    std::string field;
    while (std::getline(in, field, separator))
        fields.push_back(field);
    return fields;
}

// The lines of a file of the Unicode Character Database, through a command
// that prints it (the normalization tests ship compressed).
std::vector<std::string> databaseLines(const std::string& command)
{
    std::vector<std::string> lines;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    char buffer[4096];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe.get())) {
        std::string line(buffer);
        if (!line.empty() && line[0] != '#' && line[0] != '@')
            lines.push_back(line);
    }
    return lines;
}

// Canonically equivalent texts have one key: columns 1 to 3 of every test,
// and columns 4 and 5, whatever the composition. This is what makes "é"
// typed as one character or as two the same name.
TEST(UnicodeKey, CanonicalEquivalentsOfTheNormalizationTestsHaveOneKey)
{
    const auto lines = databaseLines("bzip2 -dc /usr/share/unicode/NormalizationTest.txt.bz2 2>/dev/null");
    ASSERT_GT(lines.size(), 10000u) << "the unicode-data package is missing";
    size_t failures = 0;
    for (const std::string& line : lines) {
        const auto columns = split(line, ';');
        const std::string c[5] = {fromCodePoints(columns[0]), fromCodePoints(columns[1]), fromCodePoints(columns[2]),
                                  fromCodePoints(columns[3]), fromCodePoints(columns[4])};
        for (auto [a, b] : {std::pair{0, 1}, {0, 2}, {1, 2}, {3, 4}}) {
            if (unicodeKey(c[a]) != unicodeKey(c[b]) && ++failures <= 5)
                ADD_FAILURE() << line;
        }
    }
    EXPECT_EQ(failures, 0u);
}

// Every common and full case folding: a letter and what it folds to have one
// key, so that "STRASSE" finds "straße" and "ΣΑ" finds "σα".
TEST(UnicodeKey, CaseFoldingsOfTheDatabaseHaveOneKey)
{
    const auto lines = databaseLines("cat /usr/share/unicode/CaseFolding.txt 2>/dev/null");
    ASSERT_GT(lines.size(), 1000u) << "the unicode-data package is missing";
    size_t checked = 0;
    for (const std::string& line : lines) {
        const auto fields = split(line, ';');
        if (fields.size() < 3 || (fields[1] != " C" && fields[1] != " F"))
            continue;
        const std::string letter = fromCodePoints(fields[0]);
        const std::string folded = fromCodePoints(fields[2]);
        EXPECT_EQ(unicodeKey(letter), unicodeKey(folded)) << line;
        ++checked;
    }
    EXPECT_GT(checked, 1000u);
}

TEST(UnicodeKey, AccentsWidthsAndDigitsStillCountAndKeysOrderByCodePoint)
{
    EXPECT_NE(unicodeKey("Pokemon"), unicodeKey("Pok\xC3\xA9mon"));   // accents count
    EXPECT_NE(unicodeKey("FULL"), unicodeKey("\xEF\xBC\xA6ULL"));      // widths are not folded
    EXPECT_NE(unicodeKey("file10"), unicodeKey("file010"));
    EXPECT_EQ(unicodeKey("Super Mario Bros.ZIP"), "super mario bros.zip");
    EXPECT_LT(unicodeKey("a_b"), unicodeKey("ab"));           // "_" before the lower-case letters
    EXPECT_LT(unicodeKey("file10"), unicodeKey("file2"));     // digits are characters, not numbers
    EXPECT_LT(unicodeKey("e\xCC\x81t\xC3\xA9"), unicodeKey("f"));  // decomposed: sorts with the e
    EXPECT_EQ(unicodeKey("A\xFF"), unicodeKey("a\xEF\xBF\xBD"));   // bytes that are not UTF-8
}

}  // namespace
}  // namespace tokenade
