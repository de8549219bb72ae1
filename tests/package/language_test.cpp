// language_test.cpp: the language the launcher and ./play choose
// (packaging/language.sh), for a table of environments, as gettext would
// choose a catalogue, over the build's run folder and its languages.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "tests/support/game_process.h"

namespace {

using testsupport::GameProcess;

constexpr auto SHELL_TIMEOUT = std::chrono::seconds(10);
// The variables the choice reads, all cleared before each case sets its own.
const std::vector<std::string> LOCALE_VARIABLES{"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};

struct Environment {
    std::map<std::string, std::string> variables;
    std::string language;
};

const std::vector<Environment> ENVIRONMENTS{
    {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "de:fr"}}, "de"},
    {{{"LANG", "fr_CA.UTF-8"}}, "fr"},
    {{{"LC_ALL", "C"}, {"LANGUAGE", "de"}}, "en"}, // the C locale ignores LANGUAGE
    {{{"LANG", "pl_PL.UTF-8"}}, "en"},
    {{}, "en"},
    {{{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "es_ES.UTF-8"}}, "es"},
    {{{"LC_ALL", "it_IT.UTF-8"}, {"LC_MESSAGES", "es_ES.UTF-8"}}, "it"},
    {{{"LANG", "nl_NL.UTF-8"}, {"LANGUAGE", "pl:pt_BR"}}, "pt"},
    {{{"LANG", "nl_NL.UTF-8"}, {"LANGUAGE", "pl"}}, "en"}, // LANGUAGE replaces the locale's own
};

std::string describe(const std::map<std::string, std::string>& variables) {
    std::string text;
    for (const auto& [name, value] : variables) {
        text += (text.empty() ? "" : " ") + name + "=" + value;
    }
    return text.empty() ? "(nothing set)" : text;
}

TEST(LanguageChoice, FollowsGettextsOrderOverTheRunFolders) {
    for (const Environment& environment : ENVIRONMENTS) {
        std::map<std::string, std::string> variables;
        for (const std::string& name : LOCALE_VARIABLES) {
            variables[name] = "";
        }
        for (const auto& [name, value] : environment.variables) {
            variables[name] = value;
        }
        GameProcess shell({"sh", "-c", ". \"$0\" && quillory_run_folder \"$1\"",
                           QUILLORY_SOURCE_DIR "/packaging/language.sh", QUILLORY_RUN_DIR},
                          "/", variables);
        ASSERT_EQ(shell.waitForExit(SHELL_TIMEOUT), 0) << shell.standardError();
        std::string folder = shell.standardOutput();
        if (!folder.empty() && folder.back() == '\n') {
            folder.pop_back();
        }
        const std::string chosen =
            folder == QUILLORY_RUN_DIR ? "en" : std::filesystem::path(folder).filename().string();
        EXPECT_EQ(chosen, environment.language) << describe(environment.variables);
        if (chosen != "en") {
            EXPECT_EQ(folder, std::string(QUILLORY_RUN_DIR) + "/languages/" + chosen);
        }
        std::cout << describe(environment.variables) << " -> " << chosen << "\n";
    }
}

} // namespace
