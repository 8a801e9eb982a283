#include "install_paths.h"

#include <gtest/gtest.h>

#include "install_files.h"

namespace blok::setup {
namespace {

TEST(InstallPaths, ProposalAndMenuFolderFollowTheDataHome) {
    const DataDirs xdg{"/data/me", "/home/me"};
    EXPECT_EQ(ProposedInstallPath(xdg), "/data/me/Blokfall");
    EXPECT_EQ(MenuFolder(xdg), "/data/me/applications/Blokfall");

    const DataDirs unset{"", "/home/me"};
    EXPECT_EQ(ProposedInstallPath(unset), "/home/me/.local/share/Blokfall");
    EXPECT_EQ(MenuFolder(unset), "/home/me/.local/share/applications/Blokfall");

    // A relative $XDG_DATA_HOME is not valid and is ignored.
    EXPECT_EQ(ProposedInstallPath({"data", "/home/me"}), "/home/me/.local/share/Blokfall");
}

TEST(InstallPaths, OneTrailingSlashIsDroppedAndNothingLeftCancels) {
    EXPECT_EQ(ChosenInstallPath("/opt/games/Blokfall/"), "/opt/games/Blokfall");
    EXPECT_EQ(ChosenInstallPath("/opt/games/Blokfall"), "/opt/games/Blokfall");
    EXPECT_EQ(ChosenInstallPath("/opt//"), "/opt/");
    EXPECT_EQ(ChosenInstallPath("/"), std::nullopt);
    EXPECT_EQ(ChosenInstallPath(""), std::nullopt);
    EXPECT_EQ(ChosenInstallPath("//"), "/");
}

TEST(InstallPaths, InstallPathIsMadeAbsolute) {
    const DataDirs dirs{"", "/home/me"};
    EXPECT_EQ(AbsoluteInstallPath("/a b/Blokfall", dirs, "/cwd"), "/a b/Blokfall");
    EXPECT_EQ(AbsoluteInstallPath("games/Blokfall", dirs, "/cwd"), "/cwd/games/Blokfall");
    EXPECT_EQ(AbsoluteInstallPath("~/games", dirs, "/cwd"), "/home/me/games");
    EXPECT_EQ(AbsoluteInstallPath("~", dirs, "/cwd"), "/home/me");
    EXPECT_EQ(AbsoluteInstallPath("~other", dirs, "/cwd"), "/cwd/~other");
    EXPECT_EQ(AbsoluteInstallPath("/x/./y/../Blokfall/", dirs, "/cwd"), "/x/Blokfall");
    EXPECT_EQ(AbsoluteInstallPath("/opt/", dirs, "/cwd"), "/opt");
}

// The program first, then its texts, then the songs in their folder by number, each followed by
// the progress the bar shows after it (the files' sizes in kilobytes, full at the last one).
TEST(InstallPaths, PathsTheMenuCannotStartFromAreRefused) {
    EXPECT_EQ(UnusableInstallPathReason("/home/ann/Spiele/Blökfall 2"), std::nullopt);
    EXPECT_NE(UnusableInstallPathReason("/home/ann/100%")->find("'%'"), std::string::npos);
    EXPECT_NE(UnusableInstallPathReason("/home/ann/a\tb")->find("control"), std::string::npos);
    EXPECT_NE(UnusableInstallPathReason("/home/ann/\x7f")->find("control"), std::string::npos);
    EXPECT_NE(UnusableInstallPathReason("/home/ann/Bl\xf6kfall")->find("UTF-8"), std::string::npos);
}

TEST(InstallFiles, ProgramFirstSongsInOrderWithTheirProgress) {
    const auto& files = InstallFiles();
    const std::string_view texts[] = {"Blokfall", "Blokfall.hlp", "Liesmich.txt", "Readme.txt"};
    const int progress[] = {926,  937,  938,  939,  963,  967,  998,  1135, 1164, 1179, 1191, 1207,
                            1237, 1248, 1271, 1275, 1282, 1323, 1327, 1338, 1350, 1365, 1405};
    ASSERT_EQ(files.size(), std::size(progress));
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(i);
        const bool song = i >= std::size(texts);
        EXPECT_EQ(files[i].name, song ? std::to_string(i - 3) + ".mid" : std::string(texts[i]));
        EXPECT_EQ(files[i].subfolder, song ? "music" : "");
        EXPECT_EQ(files[i].position, progress[i]);
    }
    EXPECT_EQ(files.back().position, kProgressRange);
}

}  // namespace
}  // namespace blok::setup
