#include "desktop_entry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "file_copy.h"
#include "scratch_folder.h"

namespace blok::setup {
namespace {

bool HasLine(const std::string& text, const std::string& line) {
    return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

// Runs a shell command line and returns its exit status.
int RunCommand(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(DesktopEntry, EntriesRunTheInstalledGameOrItsHelpInTheInstallFolder) {
    const std::string game = DesktopEntryText(GameEntry("/home/me/Blok fall"));
    const std::string help = DesktopEntryText(HelpEntry("/opt/Blokfall"));
    EXPECT_EQ(game.rfind("[Desktop Entry]\n", 0), 0u);
    for (const char* line : {"Type=Application", "Name=Blokfall", "Comment=Blokfall",
                             "Exec=\"/home/me/Blok fall/Blokfall\"", "Path=/home/me/Blok fall",
                             "Icon=/home/me/Blok fall/Blokfall.png", "Categories=Game;BlocksGame;"})
        EXPECT_TRUE(HasLine(game, line)) << line;
    for (const char* line :
         {"Name=BlokfallHelp", "Comment=BlokfallHelp",
          "Exec=\"/opt/Blokfall/Blokfall\" --help-viewer \"/opt/Blokfall/Blokfall.hlp\"",
          "Path=/opt/Blokfall", "Icon=/opt/Blokfall/Blokfall.png", "Categories=Game;BlocksGame;"})
        EXPECT_TRUE(HasLine(help, line)) << line;
}

TEST(DesktopEntry, ExecArgumentsEscapeWhatTheCommandLineAndTheFileWouldInterpret) {
    EXPECT_EQ(QuoteExecArgument("/a b/c"), R"("/a b/c")");
    EXPECT_EQ(QuoteExecArgument("$HOME"), R"("\\$HOME")");
    EXPECT_EQ(QuoteExecArgument("say \"hi\""), R"("say \\"hi\\"")");
    EXPECT_EQ(QuoteExecArgument("a\\b"), R"("a\\\\b")");
    EXPECT_EQ(QuoteExecArgument("`x`"), R"("\\`x\\`")");
    EXPECT_EQ(QuoteExecArgument("100%"), R"("100%%")");
    EXPECT_EQ(QuoteExecArgument("a\nb"), R"("a\nb")");
}

TEST(DesktopEntry, GeneratedEntriesPassTheValidator) {
    if (std::string(DESKTOP_FILE_VALIDATE).empty()) GTEST_SKIP() << "no desktop-file-validate";
    ScratchFolder scratch;
    const std::string odd = "/home/me/My $games \"x\" `y` back\\slash 100%";
    int i = 0;
    for (const MenuEntry& entry :
         {GameEntry("/opt/Blokfall"), HelpEntry("/opt/Blokfall"), GameEntry(odd), HelpEntry(odd)}) {
        const auto file = scratch / ("entry" + std::to_string(i++) + ".desktop");
        ASSERT_FALSE(InstallText(DesktopEntryText(entry), file));
        const auto log = scratch / "validate.log";
        RunCommand(std::string(DESKTOP_FILE_VALIDATE) + " '" + file.string() + "' > '" +
                   log.string() + "' 2>&1");
        // Warnings are allowed (the comment equals the name); errors are not.
        EXPECT_EQ(ReadFile(log).find("error"), std::string::npos) << ReadFile(log);
    }
}

// The desktop's own launcher reads the entry back: the program must get exactly its arguments
// and start in the install folder, whatever characters the folder's name holds.
TEST(DesktopEntry, LauncherStartsTheProgramWithItsArgumentsInItsFolder) {
    if (std::string(GIO).empty()) GTEST_SKIP() << "no gio";
    ScratchFolder scratch;
    const auto install = scratch / "Blok $fall \"x\" `y` back\\slash";
    const auto record = scratch / "started.txt";
    std::filesystem::create_directories(install);
    ASSERT_FALSE(InstallText("#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"[$a]\"; done; } > '" +
                                 record.string() + ".tmp' && mv '" + record.string() + ".tmp' '" +
                                 record.string() + "'\n",
                             install / "Blokfall"));
    ::chmod((install / "Blokfall").c_str(), 0755);
    const auto file = scratch / "help.desktop";
    ASSERT_FALSE(InstallText(DesktopEntryText(HelpEntry(install.string())), file));

    ASSERT_EQ(RunCommand(std::string(GIO) + " launch '" + file.string() + "'"), 0);
    for (int waited = 0; waited < 100 && !std::filesystem::exists(record); ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(ReadFile(record), install.string() + "\n[--help-viewer]\n[" +
                                    (install / "Blokfall.hlp").string() + "]\n");
}

}  // namespace
}  // namespace blok::setup
