// An installation and its removal, on whichever system the tests run: what the uninstall takes
// away is what the install wrote, and nothing of the player's.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <objbase.h>
#endif

#include "install_files.h"
#include "recording_host.h"
#include "scratch_folder.h"
#include "setup_flow.h"
#include "system_setup.h"

namespace blok::setup {
namespace {

namespace fs = std::filesystem;

// A distribution laid out as the release archive has it: the songs in their own folder.
class Uninstall : public ::testing::Test {
  protected:
    ScratchFolder scratch;
    fs::path dist = scratch / "dist";
    fs::path data = scratch / "data";
    fs::path target = scratch / "Games" / PathFromUtf8("Bl\xc3\xb6kfall");  // not only ASCII
    std::string dataText = Utf8FromPath(data);
    SetupContext context{dist, scratch.path(), DataDirs{dataText, dataText, dataText, dataText},
                         "icon", dist / "uninstaller"};
    RecordingHost host;

    void SetUp() override {
#ifdef _WIN32
        CoInitialize(nullptr);  // the Start-menu links are shell objects
#endif
        fs::create_directories(dist / kMusicFolder);
        for (const InstallFile& file : InstallFiles()) {
            WriteFile(dist / file.subfolder / file.name, "new " + std::string(file.name));
        }
        WriteFile(context.uninstaller, "uninstaller");
        host.answer = Utf8FromPath(target);
        ASSERT_EQ(RunSetup(context, host), 0) << host.events.back();
        host.events.clear();
    }
    void TearDown() override {
#ifdef _WIN32
        CoUninitialize();
#endif
    }
    fs::path Menu() const {
        return PathFromUtf8(MenuFolder(context.dirs));
    }
    std::vector<std::string> LeftInTarget() const {
        std::vector<std::string> left;
        for (const auto& entry : fs::recursive_directory_iterator(target)) {
            left.push_back(fs::relative(entry.path(), target).generic_string());
        }
        std::sort(left.begin(), left.end());
        return left;
    }
};

TEST_F(Uninstall, InstallTakesTheSongsFromTheArchivesMusicFolder) {
    EXPECT_EQ(ReadFile(target / kMusicFolder / "7.mid"), "new 7.mid");
    EXPECT_FALSE(fs::exists(target / "7.mid"));
    EXPECT_TRUE(fs::exists(MenuEntryFile(Menu(), "Blokfall")));
    const std::vector<std::string> listed = InstalledFiles(target);
    ASSERT_FALSE(listed.empty());
    EXPECT_EQ(listed.front(), kGameProgram);
    EXPECT_EQ(listed.size(), InstallFiles().size() + 1 + (kUninstallerFile.empty() ? 0 : 1));
}

TEST_F(Uninstall, RemovesWhatWasInstalledAndAsksBeforeTheHighScores) {
    WriteFile(target / kHiscoreFile, "scores");
    host.yesNo = {true, false};  // remove Blokfall, keep the high scores

    EXPECT_EQ(RunUninstall(target, context.dirs, host, false), 0);

    EXPECT_EQ(LeftInTarget(), std::vector<std::string>{kHiscoreFile});
    EXPECT_FALSE(fs::exists(Menu()));
    ASSERT_EQ(host.events.size(), 3u);
    EXPECT_NE(host.events[0].find("Remove Blokfall from"), std::string::npos) << host.events[0];
    EXPECT_NE(host.events[1].find(kHiscoreFile), std::string::npos) << host.events[1];
    EXPECT_NE(host.events[2].find("was kept"), std::string::npos) << host.events[2];

    host.yesNo = {true, true};
    EXPECT_EQ(RunUninstall(target, context.dirs, host, false), 1);  // nothing installed any more
    EXPECT_TRUE(fs::exists(target / kHiscoreFile));
}

TEST_F(Uninstall, KeepsFilesOfThePlayersAndNamesTheManifestCannotMean) {
    WriteFile(target / "notes.txt", "mine");
    WriteFile(scratch / "Games" / "outside.txt", "mine too");
    WriteFile(target / kManifestName,
              ReadFile(target / kManifestName) + "notes.txt\n../outside.txt\nmusic\n");
    WriteFile(target / kHiscoreFile, "scores");

    EXPECT_EQ(RunUninstall(target, context.dirs, host, true), 0);

    EXPECT_EQ(LeftInTarget(), (std::vector<std::string>{kHiscoreFile, "notes.txt"}));
    EXPECT_TRUE(fs::exists(scratch / "Games" / "outside.txt"));
    EXPECT_TRUE(host.events.empty());  // quiet: nothing asked, the high scores kept
}

TEST_F(Uninstall, DeclinedOrWithoutManifestRemovesNothing) {
    host.yesNo = {false};
    EXPECT_EQ(RunUninstall(target, context.dirs, host, false), 0);
    EXPECT_TRUE(fs::exists(target / kGameProgram));
    EXPECT_TRUE(fs::exists(MenuEntryFile(Menu(), "BlokfallHelp")));

    fs::remove(target / kManifestName);
    RecordingHost refused;
    EXPECT_EQ(RunUninstall(target, context.dirs, refused, false), 1);
    EXPECT_TRUE(fs::exists(target / kGameProgram));
    ASSERT_EQ(refused.events.size(), 1u);
    EXPECT_NE(refused.events[0].find("is not installed in"), std::string::npos);
}

}  // namespace
}  // namespace blok::setup
