// language_test.cpp: the language the launcher and ./play choose
// (packaging/language.sh) for a table of environments, as gettext would
// choose a catalogue, over the build's run folder and its languages.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <sstream>

#include "tests/support/game_process.h"

namespace {

constexpr auto SHELL_TIMEOUT = std::chrono::seconds(10);

// Each row: the variables set (the others of LANGUAGE, LC_ALL, LC_MESSAGES and
// LANG empty), and the language the game must then play in.
const std::vector<std::pair<std::string, std::string>> ENVIRONMENTS{
    {"LANG=en_US.UTF-8 LANGUAGE=de:fr", "de"},
    {"LANG=fr_CA.UTF-8", "fr"},
    {"LC_ALL=C LANGUAGE=de", "en"}, // the C locale ignores LANGUAGE
    {"LANG=pl_PL.UTF-8", "en"},
    {"", "en"},
    {"LANG=de_DE.UTF-8 LC_MESSAGES=es_ES.UTF-8", "es"},
    {"LC_ALL=it_IT.UTF-8 LC_MESSAGES=es_ES.UTF-8", "it"},
    {"LANG=nl_NL.UTF-8 LANGUAGE=pl:pt_BR", "pt"},
    {"LANG=nl_NL.UTF-8 LANGUAGE=pl", "en"}, // LANGUAGE replaces the locale's own
};

TEST(LanguageChoice, FollowsGettextsOrderOverTheRunFolders) {
    for (const auto& [set, language] : ENVIRONMENTS) {
        std::map<std::string, std::string> variables{
            {"LANGUAGE", ""}, {"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", ""}};
        std::istringstream assignments(set);
        for (std::string assignment; assignments >> assignment;) {
            variables[assignment.substr(0, assignment.find('='))] =
                assignment.substr(assignment.find('=') + 1);
        }
        testsupport::GameProcess shell({"sh", "-c", ". \"$0\" && quillory_run_folder \"$1\"",
                                        QUILLORY_SOURCE_DIR "/packaging/language.sh",
                                        QUILLORY_RUN_DIR},
                                       "/", variables);
        ASSERT_EQ(shell.waitForExit(SHELL_TIMEOUT), 0) << shell.standardError();
        const std::filesystem::path folder = shell.outputLines().at(0);
        const std::string chosen = folder == QUILLORY_RUN_DIR ? "en" : folder.filename().string();
        EXPECT_EQ(chosen, language) << set;
        EXPECT_TRUE(chosen == "en" ||
                    folder.parent_path() == std::filesystem::path(QUILLORY_RUN_DIR) / "languages");
        std::cout << (set.empty() ? "(nothing set)" : set) << " -> " << chosen << "\n";
    }
}

} // namespace
