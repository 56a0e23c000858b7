#include "cli/sheetoptions.h"

#include <gtest/gtest.h>

using namespace equat;

TEST(ParseSheetArgs, Accepted) {
    std::string error;
    auto job = ParseSheetArgs({"--kind", "1d", "--level", "3", "--count", "40", "--interline", "0",
                               "--title", "Classe de 3\xC3\xA8me", "--seed", "4294967295",
                               "--sheets", "5", "--output", "out", "--log", "l.txt"},
                              &error);
    ASSERT_TRUE(job) << error;
    EXPECT_EQ(job->settings.level, 3);
    EXPECT_EQ(job->settings.count, 40);
    EXPECT_EQ(job->settings.interline, 0);
    EXPECT_EQ(job->settings.title, "Classe de 3\xE8me");
    EXPECT_EQ(*job->seed, 4294967295u);
    EXPECT_EQ(job->sheets, 5);
    EXPECT_TRUE(job->settings.separatorOn);

    job = ParseSheetArgs({"--kind", "1d", "--no-separator"}, &error);
    ASSERT_TRUE(job);
    EXPECT_FALSE(job->settings.separatorOn);
    EXPECT_FALSE(job->seed);
    EXPECT_EQ(job->settings.count, 25);  // the window's design values
    EXPECT_EQ(job->settings.interline, 1);
    EXPECT_EQ(job->settings.instruction, "Calculer ");
    EXPECT_FALSE(job->pdf);

    job = ParseSheetArgs({"--pdf", "--kind", "syst"}, &error);
    ASSERT_TRUE(job) << error;
    EXPECT_TRUE(job->pdf);
}

TEST(ParseSheetArgs, Refused) {
    const std::string title161(161, 'a');
    const std::string sep201(201, '-');
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--level", "2"},
        {"--kind", "3d"},
        {"--kind", "1d", "--level", "0"},
        {"--kind", "1d", "--level", "4"},
        {"--kind", "1d", "--level", "2x"},
        {"--kind", "1d", "--count", "41"},
        {"--kind", "1d", "--count", "0"},
        {"--kind", "1d", "--interline", "11"},
        {"--kind", "1d", "--seed", "-1"},
        {"--kind", "1d", "--seed", "4294967296"},
        {"--kind", "1d", "--sheets", "0"},
        {"--kind", "1d", "--title", title161},
        {"--kind", "1d", "--separator", sep201},
        {"--kind", "1d", "--title", "racine \xE2\x88\x9A"},
        {"--kind", "1d", "--title", "\xFF"},
        {"--kind", "1d", "--separator", "-", "--no-separator"},
        {"--kind", "1d", "--no-separator", "--separator", "-"},
        {"--kind", "1d", "--count"},
        {"--kind", "1d", "--bogus"},
        {"--kind", "1d", "--output", ""},
    };
    for (const auto& args : cases) {
        std::string error;
        EXPECT_FALSE(ParseSheetArgs(args, &error)) << ::testing::PrintToString(args);
        EXPECT_FALSE(error.empty());
    }
    std::string error;
    EXPECT_TRUE(ParseSheetArgs({"--kind", "1d", "--title", std::string(160, 'a')}, &error));
    EXPECT_TRUE(ParseSheetArgs({"--kind", "1d", "--separator", std::string(200, '=')}, &error));
}
