#include "setup_flow.h"

#include <gtest/gtest.h>

#include "install_files.h"
#include "recording_host.h"
#include "scratch_folder.h"

namespace blok::setup {
namespace {

namespace fs = std::filesystem;

// A distribution folder with a distinct stand-in for every file.
class SetupFlow : public ::testing::Test {
  protected:
    ScratchFolder scratch;
    fs::path dist = scratch / "dist";
    fs::path data = scratch / "data";
    SetupContext context{
        dist, scratch.path(), {data.string(), (scratch / "home").string()}, "icon picture"};
    RecordingHost host;

    void SetUp() override {
        fs::create_directories(dist);
        for (const InstallFile& file : InstallFiles()) {
            WriteFile(dist / file.name, "contents of " + std::string(file.name));
        }
    }
    fs::path MenuFolder() const { return data / "applications" / "Blokfall"; }
    bool SawCompletion() const {
        return std::find(host.texts.begin(), host.texts.end(), kCompleteText) != host.texts.end();
    }
};

TEST_F(SetupFlow, InstallsEveryFileWithProgressAndMenuEntries) {
    const fs::path target = scratch / "games" / "Blok fall";  // parents are created too
    host.answer = target.string() + "/";

    EXPECT_EQ(RunSetup(context, host), 0);

    EXPECT_EQ(host.proposal, (data / "Blokfall").string());
    for (const InstallFile& file : InstallFiles()) {
        EXPECT_EQ(ReadFile(target / file.subfolder / file.name),
                  "contents of " + std::string(file.name));
    }
    EXPECT_TRUE(fs::exists(target / "music" / "19.mid"));
    EXPECT_FALSE(fs::exists(target / "19.mid"));
    ASSERT_EQ(host.positions.size(), 23u);
    EXPECT_EQ(host.positions.front(), 926);
    EXPECT_EQ(host.positions.back(), 1405);
    EXPECT_EQ(host.texts.front(), "Installing: Blokfall");
    EXPECT_EQ(host.texts[22], "Installing: 19.mid");
    EXPECT_EQ(host.texts.back(), kCompleteText);
    EXPECT_EQ(host.pausedMs, 23 * 125 + 3000);
    ASSERT_EQ(host.events.size(), 5u);
    EXPECT_EQ(host.events[2], "open " + MenuFolder().string());
    EXPECT_EQ(host.events[3], "close");
    // After the progress closes, the player learns where the menu entries are.
    const std::string& last = host.events.back();
    EXPECT_EQ(last.rfind("message Message: Installation Complete\n", 0), 0u) << last;
    EXPECT_NE(last.find("\"" + MenuFolder().string() + "\""), std::string::npos) << last;
    EXPECT_NE(last.find("\"" + target.string() + "\""), std::string::npos) << last;
    const std::string game = ReadFile(MenuFolder() / "Blokfall.desktop");
    EXPECT_NE(game.find("Exec=\"" + target.string() + "/Blokfall\"\n"), std::string::npos);
    EXPECT_NE(game.find("Path=" + target.string() + "\n"), std::string::npos);
    EXPECT_NE(ReadFile(MenuFolder() / "BlokfallHelp.desktop").find("Blokfall.hlp"),
              std::string::npos);
    // The icon lies beside the game, outside the table of copied files and their progress.
    EXPECT_EQ(ReadFile(target / "Blokfall.png"), "icon picture");
}

TEST_F(SetupFlow, CancelOrEmptyPathCreatesNothing) {
    for (const std::optional<std::string>& answer :
         {std::optional<std::string>{}, std::optional<std::string>{""},
          std::optional<std::string>{"/"}}) {
        RecordingHost cancelled;
        cancelled.answer = answer;
        EXPECT_EQ(RunSetup(context, cancelled), 0);
        EXPECT_EQ(cancelled.events,
                  (std::vector<std::string>{"ask", "message Message: " + std::string(kAbortText)}));
    }
    EXPECT_FALSE(fs::exists(data));
}

TEST_F(SetupFlow, TargetTheMenuCannotStartFromIsRefusedBeforeAnythingIsMade) {
    for (const std::string name : {"50%", "tab\there", "Bl\xf6kfall"}) {
        RecordingHost refused;
        refused.answer = (scratch / "games" / name).string();
        EXPECT_EQ(RunSetup(context, refused), 1) << name;
        ASSERT_EQ(refused.events.size(), 2u);
        EXPECT_EQ(refused.events[1].rfind("message Message: Blokfall cannot be installed", 0), 0u)
            << refused.events[1];
    }
    EXPECT_FALSE(fs::exists(scratch / "games"));
    EXPECT_FALSE(fs::exists(data));
}

// The user's own files are replaced only after one question; an earlier install's are not asked
// about.
TEST_F(SetupFlow, UsersOwnFilesAreReplacedOnlyWhenTheUserSaysSo) {
    const fs::path target = scratch / "Documents";
    fs::create_directories(target / "music");
    WriteFile(target / "Readme.txt", "my own notes");
    WriteFile(target / "music" / "3.mid", "my song");
    WriteFile(target / "Blokfall.png", "my picture");
    host.answer = target.string();

    EXPECT_EQ(RunSetup(context, host), 0);
    ASSERT_EQ(host.events.size(), 3u);
    EXPECT_EQ(host.events[1], "question Replace files?: These files in \"" + target.string() +
                                  "\" were not installed by Blokfall and would be replaced:\n\n"
                                  "Readme.txt\nmusic/3.mid\nBlokfall.png\n\nReplace them?");
    EXPECT_EQ(host.events[2], "message Message: " + std::string(kAbortText));
    EXPECT_EQ(ReadFile(target / "Readme.txt"), "my own notes");
    EXPECT_EQ(ReadFile(target / "Blokfall.png"), "my picture");
    EXPECT_EQ(std::distance(fs::directory_iterator(target), fs::directory_iterator()), 3);
    EXPECT_FALSE(fs::exists(data));

    RecordingHost yes;
    yes.answer = target.string();
    yes.replace = true;
    EXPECT_EQ(RunSetup(context, yes), 0);
    EXPECT_EQ(ReadFile(target / "Readme.txt"), "contents of Readme.txt");
    EXPECT_EQ(ReadFile(target / "music" / "3.mid"), "contents of 3.mid");
    EXPECT_EQ(ReadFile(target / "Blokfall.png"), "icon picture");

    RecordingHost again;  // a reinstall over it asks nothing
    again.answer = target.string();
    EXPECT_EQ(RunSetup(context, again), 0);
    EXPECT_EQ(std::count_if(again.events.begin(), again.events.end(),
                            [](const std::string& e) { return e.starts_with("question"); }),
              0);
    EXPECT_TRUE(FilesNotFromAnInstall(target).empty());
}

TEST_F(SetupFlow, MissingSourceIsReportedWhileTheOtherFilesArrive) {
    fs::remove(dist / "7.mid");
    const fs::path target = scratch / "target";
    host.answer = target.string();

    EXPECT_EQ(RunSetup(context, host), 1);

    EXPECT_FALSE(SawCompletion());
    EXPECT_TRUE(fs::exists(target / "music" / "19.mid"));
    EXPECT_FALSE(fs::exists(target / "music" / "7.mid"));
    EXPECT_EQ(host.positions.back(), 1405);
    ASSERT_FALSE(host.events.empty());
    const std::string& message = host.events.back();
    EXPECT_NE(message.find("7.mid"), std::string::npos) << message;
    EXPECT_NE(message.find("No such file or directory"), std::string::npos) << message;
    // Menu entries would start an incomplete game.
    EXPECT_FALSE(fs::exists(MenuFolder()));
}

TEST_F(SetupFlow, TargetBelowAPlainFileFailsWithTheSystemsReason) {
    WriteFile(scratch / "plain", "not a folder");
    host.answer = (scratch / "plain" / "Blokfall").string();

    EXPECT_EQ(RunSetup(context, host), 1);

    EXPECT_FALSE(SawCompletion());
    EXPECT_EQ(host.positions.size(), 23u);
    const std::string& message = host.events.back();
    EXPECT_EQ(message.rfind("message Message: ", 0), 0u);
    // One line for the folder; the files that could not go there are not listed one by one.
    EXPECT_EQ(message.find("Could not copy"), std::string::npos) << message;
    EXPECT_NE(message.find("Could not create the folder"), std::string::npos) << message;
    EXPECT_NE(message.find("Not a directory"), std::string::npos) << message;
    EXPECT_EQ(ReadFile(scratch / "plain"), "not a folder");
    EXPECT_FALSE(fs::exists(MenuFolder()));
}

TEST_F(SetupFlow, FailingMusicFolderStillInstallsTheProgram) {
    const fs::path target = scratch / "target";
    fs::create_directories(target);
    WriteFile(target / "music", "a file of the user's");
    host.answer = target.string();

    const InstallResult result = Install(context, target, host);

    EXPECT_FALSE(result.Complete());
    ASSERT_EQ(result.failures.size(), 1u);  // the songs are not each reported again
    EXPECT_NE(result.failures[0].what.find("music"), std::string::npos);
    EXPECT_EQ(ReadFile(target / "Blokfall"), "contents of Blokfall");
    EXPECT_EQ(ReadFile(target / "music"), "a file of the user's");
    EXPECT_EQ(host.positions.size(), 23u);
}

TEST_F(SetupFlow, UnwritableMenuFolderIsReportedAfterTheFilesArrived) {
    fs::create_directories(data);
    WriteFile(data / "applications", "in the way");
    host.answer = (scratch / "target").string();

    EXPECT_EQ(RunSetup(context, host), 1);

    EXPECT_FALSE(SawCompletion());
    EXPECT_TRUE(fs::exists(scratch / "target" / "music" / "19.mid"));
    EXPECT_NE(host.events.back().find("menu entries are not complete"), std::string::npos);
}

TEST(FailureMessage, ListsAFewFailuresAndCountsTheRest) {
    InstallResult result;
    for (int i = 1; i <= 12; ++i) {
        result.failures.push_back({"Could not copy \"" + std::to_string(i) + ".mid\"", "Boom"});
    }
    const std::string text = FailureMessage(result);
    EXPECT_NE(text.find("Could not copy \"8.mid\": Boom\n"), std::string::npos);
    EXPECT_EQ(text.find("\"9.mid\""), std::string::npos);
    EXPECT_NE(text.find("... and 4 more."), std::string::npos);
}

}  // namespace
}  // namespace blok::setup
