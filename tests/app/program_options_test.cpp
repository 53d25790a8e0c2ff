// SPDX-License-Identifier: GPL-3.0-or-later
// Every program as a user calls it: --help and --version answer, an unknown option is refused,
// and none of these writes anything into the folder it runs in.
#include "app/platform_choice.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace tobira {
namespace {

struct Outcome {
    int status = -1;
    std::string out, err;
};

Outcome RunIn(const std::filesystem::path& folder, const std::string& command) {
    const std::filesystem::path err = folder.parent_path() / (folder.filename().string() + ".err");
    Outcome run;
    FILE* pipe = popen(
        ("cd '" + folder.string() + "' && " + command + " 2>'" + err.string() + "'").c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (FILE* in = std::fopen(err.c_str(), "r")) {
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, in))
            run.err.append(buffer, n);
        std::fclose(in);
    }
    std::filesystem::remove(err);
    return run;
}

TEST(ProgramOptions, HelpVersionAndUnknownOptionsWriteNothing) {
    const std::pair<const char*, const char*> programs[] = {
        {"tobira", TOBIRA_PLAYER},
        {"tobira-inspect", TOBIRA_INSPECT},
        {"tobira-demo-disc", TOBIRA_DEMO_DISC},
    };
    struct Case {
        const char* arguments;
        int status;
        const char* out; // the start of what it prints on standard output
        const char* err; // found in what it prints on standard error
    } const cases[] = {
        {"--help", 0, "usage: ", ""},
        {"-h", 0, "usage: ", ""},
        {"--version", 0, "", ""},
        {"--bogus", 2, "", "unknown option --bogus"},
        {"--help --bogus", 0, "usage: ", ""},
        {"-x out", 2, "", "unknown option -x"},
    };
    for (const auto& [name, program] : programs) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(name) + " " + c.arguments);
            testing::TempDir home;
            const std::filesystem::path folder = home / "cwd";
            std::filesystem::create_directory(folder);
            // The player's own folder and the bus are kept here too, should it start at all.
            const std::string env = "env TOBIRA_HOME='" + home.path().string() +
                                    "' XDG_RUNTIME_DIR='" + home.path().string() +
                                    "' DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent ";
            const Outcome run = RunIn(folder, env + program + " " + c.arguments);
            EXPECT_EQ(run.status, c.status) << run.out << run.err;
            const std::string version = std::string(name) + " " + TOBIRA_VERSION + "\n";
            EXPECT_EQ(run.out.substr(0, std::string(c.out).size()), c.out);
            if (std::string(c.arguments) == "--version") {
                EXPECT_EQ(run.out, version);
            }
            EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
            EXPECT_TRUE(std::filesystem::is_empty(folder));
            for (const auto& entry : std::filesystem::directory_iterator(home.path()))
                EXPECT_EQ(entry.path().filename(), "cwd") << "written: " << entry.path();
        }
    }
}

// X11 first wherever an X display is there (XWayland on a Wayland desktop), Qt's own order
// without one, and the user's choice in any case.
TEST(PreferredPlatform, X11WhereThereIsADisplayUnlessTheUserChose) {
    struct Case {
        PlatformInputs inputs;
        std::optional<std::string> platform;
    } const cases[] = {
        {{"", ":0", false}, "xcb;wayland"},       {{"", "", false}, std::nullopt},
        {{"wayland", ":0", false}, std::nullopt}, {{"", ":0", true}, std::nullopt},
        {{"offscreen", "", false}, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PreferredPlatform(c.inputs), c.platform)
            << c.inputs.qpaPlatform << "|" << c.inputs.display << "|" << c.inputs.platformArgument;
}

} // namespace
} // namespace tobira
