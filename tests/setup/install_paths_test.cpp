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

TEST(InstallFiles, TableOrderPlacesAndProgress) {
    const auto& files = InstallFiles();
    EXPECT_EQ(files[0].name, "Blokfall");
    EXPECT_EQ(files[1].name, "Blokfall.hlp");
    EXPECT_EQ(files[2].name, "Liesmich.txt");
    EXPECT_EQ(files[3].name, "Readme.txt");
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(files[static_cast<std::size_t>(i)].subfolder.empty());
    for (std::size_t i = 4; i < files.size(); ++i) {
        EXPECT_EQ(files[i].name, std::to_string(i - 3) + ".mid");
        EXPECT_EQ(files[i].subfolder, "music");
    }
    const int expected[] = {926,  937,  938,  939,  963,  967,  998,  1135, 1164, 1179, 1191, 1207,
                            1237, 1248, 1271, 1275, 1282, 1323, 1327, 1338, 1350, 1365, 1405};
    for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(files[i].position, expected[i]) << i;
    EXPECT_EQ(files.back().position, kProgressRange);
}

}  // namespace
}  // namespace blok::setup
