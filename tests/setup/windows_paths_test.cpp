// The install paths on Windows: what the path dialog proposes, how a typed path becomes the
// target, and which targets are refused before anything is copied.
#include <gtest/gtest.h>

#include <string>

#include "install_paths.h"

namespace blok::setup {
namespace {

const DataDirs kDirs{"", "C:\\Users\\jo", "C:\\Users\\jo\\AppData\\Local",
                     "C:\\Users\\jo\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"};

TEST(WindowsPaths, ProposalAndMenuFolderNeedNoAdministrator) {
    EXPECT_EQ(ProposedInstallPath(kDirs), "C:\\Users\\jo\\AppData\\Local\\Programs\\Blokfall");
    EXPECT_EQ(
        MenuFolder(kDirs),
        "C:\\Users\\jo\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Blokfall");
}

TEST(WindowsPaths, TypedPathBecomesAFullTarget) {
    EXPECT_EQ(ChosenInstallPath("C:\\Games\\"), "C:\\Games");
    EXPECT_EQ(ChosenInstallPath("C:/Games/"), "C:/Games");
    EXPECT_EQ(ChosenInstallPath("\\"), std::nullopt);
    EXPECT_EQ(ChosenInstallPath(""), std::nullopt);

    const std::string current = "D:\\Downloads\\Blokfall-1.0-win32";
    EXPECT_EQ(AbsoluteInstallPath("Spiel", kDirs, current), current + "\\Spiel");
    EXPECT_EQ(AbsoluteInstallPath("..\\Games\\.\\Blokfall", kDirs, current),
              "D:\\Downloads\\Games\\Blokfall");
    EXPECT_EQ(AbsoluteInstallPath("\\Games", kDirs, current), "D:\\Games");
    EXPECT_EQ(AbsoluteInstallPath("C:/Games/Blokfall/", kDirs, current), "C:\\Games\\Blokfall");
    EXPECT_EQ(AbsoluteInstallPath("\\\\server\\share\\Blokfall", kDirs, current),
              "\\\\server\\share\\Blokfall");
}

TEST(WindowsPaths, UsablePathsPass) {
    for (const char* path : {"C:\\Games\\Blokfall", "C:\\Users\\J\xc3\xb6rg\\Spiele 100%",
                             "\\\\server\\share\\Blokfall", "C:\\Games\\con-test\\a.b"}) {
        EXPECT_EQ(UnusableInstallPathReason(path), std::nullopt) << path;
    }
}

TEST(WindowsPaths, PathsWindowsCannotTakeAreRefused) {
    const std::string tooLong = "C:\\" + std::string(220, 'x');
    for (const std::string& path :
         {std::string("C:\\Games\\Blok?fall"), std::string("C:\\Games\\a<b"),
          std::string("C:\\Games\\a|b"), std::string("C:\\Games\\x:y"),
          std::string("C:\\Games\\CON"), std::string("C:\\nul.txt\\Blokfall"),
          std::string("C:\\Games\\com1"), std::string("C:\\Games\\LPT9.log"),
          std::string("C:\\Games\\Aux "), std::string("C:\\Games\\Blokfall."),
          std::string("C:\\Games\\Blokfall "), std::string("D:Games"), std::string("\\Games"),
          std::string("Games\\Blokfall"), std::string("C:\\Games\\tab\there"),
          std::string("C:\\Bl\xf6kfall"), tooLong}) {
        EXPECT_NE(UnusableInstallPathReason(path), std::nullopt) << path;
    }
    EXPECT_EQ(UnusableInstallPathReason(tooLong.substr(0, 200)), std::nullopt);
}

}  // namespace
}  // namespace blok::setup
