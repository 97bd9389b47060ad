// The file dialogs' filter strings.
#include <gtest/gtest.h>

#include "platform/FileFilter.h"

using namespace tarv;

TEST(FileFilter, SplitsPairsAndPatterns) {
    auto entries = parseFileFilter("PEO files (*.peo)|*.peo|Ship files|*.shp;*.lod|All files|*.*");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].description, "PEO files (*.peo)");
    EXPECT_EQ(entries[0].patterns, std::vector<std::string>{"*.peo"});
    EXPECT_EQ(entries[1].patterns, (std::vector<std::string>{"*.shp", "*.lod"}));
    EXPECT_EQ(entries[2].patterns, std::vector<std::string>{"*.*"});
    EXPECT_TRUE(parseFileFilter("").empty());
    auto dangling = parseFileFilter("Everything");
    ASSERT_EQ(dangling.size(), 1u);
    EXPECT_EQ(dangling[0].patterns, std::vector<std::string>{"*"});
}

TEST(FileFilter, MatchesAnyLetterCase) {
    EXPECT_EQ(caseInsensitivePattern("*.peo"), "*.[pP][eE][oO]");
    EXPECT_EQ(caseInsensitivePattern("*.*"), "*.*");
    EXPECT_EQ(caseInsensitivePattern("Backup of *.m4d"), "[bB][aA][cC][kK][uU][pP] [oO][fF] *.[mM]4[dD]");
}
