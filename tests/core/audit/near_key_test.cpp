#include "core/audit/name_differences.h"
#include "core/audit/near_key.h"
#include "core/audit/near_key_hash.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_map>
#include <vector>

namespace tokenade {
namespace {

struct NearKeyCase {
    std::string name;
    std::string extension;
    std::string nearKey;
};

const std::vector<NearKeyCase> kNearKeys = {
    {"Dr. Mario (Japan, USA).zip", "zip", "dr mario japan usa zip"},
    {"Tom & Jerry.zip", "zip", "tom and jerry zip"},
    {"Tom&Jerry.zip", "zip", "tom and jerry zip"},
    {"\xEF\xBC\xA6\xEF\xBC\xB5\xEF\xBC\xAC\xEF\xBC\xAC Throttle.zip", "zip", "full throttle zip"},  // full width
    {"\xEF\xAC\x81nal Quest \xE2\x85\xA2.zip", "zip", "final quest iii zip"},  // "fi" ligature, Roman three
    {"Pok\xC3\xA9mon \xE2\x80\x93 Edici\xC3\xB3n Roja.zip", "zip", "pokemon edicion roja zip"},
    {"POKE\xCC\x81MON.zip", "zip", "pokemon zip"},  // decomposed capital E with acute
    {"Don\xE2\x80\x99t Stop.zip", "zip", "don t stop zip"},
    {"Zelda: A Link - What?.zip", "zip", "zelda a link what zip"},
    {"Stra\xC3\x9F" "e Racer.zip", "zip", "strasse racer zip"},
    {"  Alpha  (USA) .zip ", "zip", "alpha usa zip"},
    {"Al\xC2\xADpha\xC2\xA0(USA).zip", "zip", "alpha usa zip"},  // soft hyphen gone, no-break space
    {"Alpha (USA).ZIP.zip.Zip", "zip", "alpha usa zip"},
    {"Alpha.zip.zip.zip.zip.zip", "zip", "alpha zip"},  // more repeats than the hash keeps in view
    {"Alpha (USA).amv.xmv", "xmv", "alpha usa amv xmv"},  // only the audited extension, every letter of it
    {"Alpha Zip.zip", "zip", "alpha zip zip"},           // a word, not a doubled extension
    {"Intro.xmv.xmv", "xmv", "intro xmv"},
    {"\xEF\xBD\xBE\xEF\xBE\x9E\xEF\xBE\x99\xEF\xBE\x80\xEF\xBE\x9E.zip", "zip",  // half-width kana: voicing marks drop
     "\xE3\x82\xBB\xE3\x83\xAB\xE3\x82\xBF zip"},
    {"Bad\xFF" "Byte.zip", "zip", "bad byte zip"},
    {"?!", "zip", ""},
};

TEST(NearKey, MessyTitles)
{
    for (const NearKeyCase& c : kNearKeys) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(nearKey(c.name, c.extension), c.nearKey);
    }
}

// Names made of pieces that each stress one step of the key, in every order.
std::vector<std::string> generatedNames(size_t count)
{
    const std::vector<std::string> pieces = {
        "Super", "MARIO", "Brothers", " ", "  ", "&", ".", "-", ":", "(USA)", "(Japan, Europe) (Rev 1)",
        ".zip", ".ZIP", ".zip.zip", "zip", "\xEF\xBD\x9A\xEF\xBD\x89\xEF\xBD\x90",  // full-width "zip"
        "\xE2\x80\x99", "\xC3\xA9", "E\xCC\x81", "\xCC\x81", "\xC3\x9F", "\xC4\xB0", "\xC7\x85",  // ’ é É ß İ ǅ
        "\xE1\xBE\xB3", "\xCD\x85", "\xD9\x85\xD9\x8E", "\xE0\xB8\xA1\xE0\xB8\xB1",  // iota subscript, Arabic, Thai
        "\xEF\xBC\xA6\xEF\xBC\xB5", "\xEF\xBC\x8E", "\xEF\xAC\x81", "\xEF\xB7\xBA",  // full width, ligatures
        "\xE2\x84\xA2", "\xC2\xBD", "\xE2\x91\xA0", "\xF0\x9D\x94\x84", "\xF0\x9F\x98\x80",  // ™ ½ ① 𝔄 emoji
        "\xE7\x89\x88", "\xE3\x82\xBC\xE3\x83\xAB", "\xEF\xBD\xBE\xEF\xBE\x9E", "\xEA\xB2\x8C\xEC\x9E\x84",
        "\xC2\xA0", "\xE2\x80\x8B", "\xEF\xB8\x8F", "\xFF", "\xC3", "\xE2\x80"};  // spaces, invisible, bad bytes
    std::mt19937 random(7);  // fixed: a failure names its input, and the input stays
    std::vector<std::string> names;
    for (size_t i = 0; i < count; ++i) {
        std::string name;
        for (size_t n = random() % 9; n > 0; --n)
            name += pieces[random() % pieces.size()];
        names.push_back(name);
    }
    return names;
}

TEST(NearKeyHash, EqualsTheHashOfTheNearKey)
{
    std::vector<std::string> names = generatedNames(4000);
    for (const NearKeyCase& c : kNearKeys)
        names.push_back(c.name);
    names.push_back(std::string(400, 'a') + " & b.zip.zip");  // longer than the hash builds on the stack
    for (const char* extension : {"zip", "xmv"}) {
        for (const std::string& name : names) {
            SCOPED_TRACE(name + " / " + extension);
            EXPECT_EQ(nearKeyHash(name, extension), hashOfNearKey(nearKey(name, extension)));
        }
    }
    // Every byte of the key counts: distinct keys of these names never share a hash.
    std::unordered_map<uint64_t, std::string> keyOfHash;
    for (const std::string& name : names) {
        const std::string key = nearKey(name, "zip");
        EXPECT_EQ(keyOfHash.try_emplace(hashOfNearKey(key), key).first->second, key) << name;
    }
}

struct DifferenceCase {
    std::string expected;
    std::string found;
    std::vector<std::string_view> differences;
};

TEST(NameDifferences, RealCases)
{
    const std::vector<DifferenceCase> cases = {
        {"Dr. Mario (Japan, USA).zip", "Dr Mario (Japan, USA).zip", {"punctuation"}},
        {"Alpha (USA).zip", "Alpha (USA) .zip", {"spacing"}},
        {"Alpha (USA).zip", "Alpha  (USA).zip", {"spacing"}},
        {"Tom & Jerry.zip", "Tom and Jerry.zip", {"punctuation"}},
        {"Tom & Jerry.zip", "Tom&Jerry.zip", {"spacing"}},
        {"Don't Stop.zip", "Don\xE2\x80\x99t Stop.zip", {"punctuation"}},
        {"Zelda: A Link.zip", "Zelda - A Link.zip", {"spacing", "punctuation"}},
        {"Zelda: A Link.zip", "Zelda; A Link.zip", {"punctuation"}},
        {"Pok\xC3\xA9mon.zip", "Pokemon.zip", {"accents"}},
        {"Pok\xC3\xA9mon.zip", "POKE\xCC\x81MON.zip", {}},
        {"FULL Throttle.zip", "\xEF\xBC\xA6\xEF\xBC\xB5\xEF\xBC\xAC\xEF\xBC\xAC Throttle.zip", {"width"}},
        {"Alpha (USA).zip", "Alpha (USA).zip.ZIP", {"extension"}},
        // Each of two kinds would explain it alone.
        {"Alpha (USA).zip", "Alpha\xC2\xA0(USA).zip", {"spacing"}},
        {"Alpha (USA).zip", "Alpha\xE3\x80\x80(USA).zip", {"spacing"}},
        {"Pokemon Red.zip", "Pok\xC3\xA9mon: \xEF\xBC\xB2\xEF\xBD\x85\xEF\xBD\x84.zip.zip",
         {"width", "punctuation", "accents", "extension"}},
        {"Alpha (USA).zip", "Alpha (Europe).zip", {"width", "spacing", "punctuation", "accents", "extension"}},
    };
    for (const DifferenceCase& c : cases) {
        SCOPED_TRACE(c.expected + " / " + c.found);
        EXPECT_EQ(differenceNames(differencesBetween(c.expected, c.found, "zip")), c.differences);
    }
}

}  // namespace
}  // namespace tokenade
