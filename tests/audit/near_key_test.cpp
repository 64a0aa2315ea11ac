#include "audit/near_key.h"

#include <gtest/gtest.h>

#include <string>
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
    {"Alpha (USA).zip.zip", "xmv", "alpha usa zip zip"},  // only the audited extension
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

TEST(NearKey, TagsInBracketsStillCount)
{
    EXPECT_NE(nearKey("Alpha (USA).zip", "zip"), nearKey("Alpha (Europe).zip", "zip"));
    EXPECT_NE(nearKey("Alpha Zip.zip", "zip"), nearKey("Alpha.zip", "zip"));
}

}  // namespace
}  // namespace tokenade
