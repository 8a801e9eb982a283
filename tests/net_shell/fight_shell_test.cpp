// Two game programs, each with its shell on a virtual desktop, in one network fight: both
// machines see one game, a pause or a quit on either reaches the other, and the end of the
// fight is shown on both.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "enet_transport.h"
#include "net_fight.h"
#include "shell_program.h"

namespace blok {
namespace {

constexpr int kVkDown = 40;

net::Millis RealMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// One machine: the whole program around its shell, and its side of the network fight.
struct Machine : Program {
    enet::EnetNetwork network;
    net::NetFight fight{shell, platform, network, RealMs};

    Machine() { Launch(); }
    bool InFight() { return game().iGameStatus == kStatusFaceToFace; }
    bool SaidOnce(std::string_view text) {
        int count = 0;
        for (const auto& [shown, caption] : platform.messages) count += shown == text ? 1 : 0;
        return count == 1;
    }
};

// Both programs run side by side: 10 ms of each desktop's time, then their network.
struct Pair {
    Machine host, joiner;

    Pair() {
        // A message box of one side waits while the other side's program goes on.
        host.platform.whileModal = [this] {
            Run(
                200, [] { return false; }, &joiner);
        };
        joiner.platform.whileModal = [this] {
            Run(
                200, [] { return false; }, &host);
        };
    }
    void Step(Machine* only = nullptr) {
        for (Machine* p : {&host, &joiner}) {
            if (only != nullptr && p != only) continue;
            p->platform.RunFor(10);
            p->fight.Service();
        }
        std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
    bool Run(int steps, const std::function<bool()>& done, Machine* only = nullptr) {
        for (int i = 0; i < steps && !done(); ++i) Step(only);
        return done();
    }
    void StartFight() {
        std::string error;
        EXPECT_FALSE(host.fight.NeedsService());
        ASSERT_TRUE(host.fight.Host(0, "SHELL1", error, "127.0.0.1")) << error;
        EXPECT_TRUE(host.fight.NeedsService());
        ASSERT_TRUE(joiner.fight.Join("127.0.0.1", host.fight.Port(), "SHELL1", error)) << error;
        ASSERT_TRUE(Run(500, [this] {
            return host.InFight() && joiner.InFight() && host.game().GameInit == 0 &&
                   joiner.game().GameInit == 0;
        }));
        EXPECT_FALSE(host.platform.dialogOpen);
        EXPECT_FALSE(joiner.platform.dialogOpen);
        // The joiner's own game timers drive nothing, but they must not spin either.
        EXPECT_EQ(joiner.platform.TimerInterval(kTimerGravity), kStartSpeedMs);
    }
    bool SameGame() { return net::HashGame(host.game()) == net::HashGame(joiner.game()); }
};

TEST(FightShell, APauseOnTheJoinerHoldsBothAndAQuitEndsBothWithAMessage) {
    Pair pair;
    pair.StartFight();
    pair.Run(50, [] { return false; });

    pair.joiner.platform.Press(kVkP);
    ASSERT_TRUE(pair.Run(
        100, [&] { return pair.host.game().gamePause == 1 && pair.joiner.game().gamePause == 1; }));
    pair.Run(30, [] { return false; });  // paused: nothing moves, both agree
    const auto fieldWhilePaused = pair.host.game().AktuellerSpielStein1.y;
    pair.Run(50, [] { return false; });
    EXPECT_EQ(pair.host.game().AktuellerSpielStein1.y, fieldWhilePaused);
    EXPECT_TRUE(pair.SameGame());

    pair.joiner.shell.OnCommand(kCmdQuitGame);
    ASSERT_TRUE(pair.Run(200, [&] {
        return pair.host.game().iGameStatus == kStatusTitle &&
               pair.joiner.game().iGameStatus == kStatusTitle;
    }));
    EXPECT_TRUE(pair.host.SaidOnce("The other player has quit the fight."));
    EXPECT_TRUE(pair.joiner.platform.messages.empty());
    EXPECT_EQ(pair.host.fight.CurrentStage(), net::NetFight::Stage::kIdle);
    EXPECT_EQ(pair.joiner.fight.CurrentStage(), net::NetFight::Stage::kIdle);
    EXPECT_TRUE(pair.host.platform.dialogOpen);
    // The ended sessions are let go at the next service; after it the program may stop calling.
    pair.Step();
    EXPECT_FALSE(pair.host.fight.NeedsService());
    EXPECT_FALSE(pair.joiner.fight.NeedsService());
}

// With "Pause When Inactive" on, leaving either window pauses the fight on both machines at one
// tick; leaving while it is paused never resumes it, and the pause key still does.
TEST(FightShell, LeavingEitherWindowPausesBothGamesAlike) {
    Pair pair;
    Settings away;
    away.pauseOnFocusLoss = true;
    pair.host.shell.ApplySettings(away);
    pair.joiner.shell.ApplySettings(away);
    pair.StartFight();
    const auto bothPaused = [&](int paused) {
        return pair.host.game().gamePause == paused && pair.joiner.game().gamePause == paused;
    };

    for (Machine* leaving : {&pair.joiner, &pair.host}) {
        pair.Run(30, [] { return false; });
        leaving->shell.OnDeactivate();
        ASSERT_TRUE(pair.Run(100, [&] { return bothPaused(1); }));
        // Both sides leave while it is paused: it stays paused.
        pair.host.shell.OnDeactivate();
        pair.joiner.shell.OnDeactivate();
        pair.Run(60, [] { return false; });
        EXPECT_TRUE(bothPaused(1));
        EXPECT_TRUE(pair.SameGame());
        EXPECT_TRUE(pair.host.InFight() && pair.joiner.InFight());

        leaving->platform.Press(kVkP);
        ASSERT_TRUE(pair.Run(100, [&] { return bothPaused(0); }));
    }
    // The games compare their states every 16 ticks and would end the fight with a message.
    pair.Run(100, [] { return false; });
    EXPECT_TRUE(pair.host.InFight() && pair.joiner.InFight());
    EXPECT_TRUE(pair.host.platform.messages.empty());
    EXPECT_TRUE(pair.joiner.platform.messages.empty());
}

TEST(FightShell, TheHostClosingItsWindowEndsTheJoinersFight) {
    Pair pair;
    pair.StartFight();
    pair.Run(20, [] { return false; });
    pair.host.shell.OnDestroy();
    pair.host.fight.Close();
    ASSERT_TRUE(pair.Run(
        300, [&] { return pair.joiner.game().iGameStatus == kStatusTitle; }, &pair.joiner));
    EXPECT_TRUE(pair.joiner.SaidOnce("The other player has closed Blokfall."));
}

TEST(FightShell, AFightPlayedToItsEndShowsTheWinnerOnBothMachines) {
    Pair pair;
    pair.StartFight();
    // Both players hold their pieces down: the fields fill and bouts end quickly.
    pair.host.platform.Hold(kVkDown);
    pair.joiner.platform.Hold(kVkDown);
    ASSERT_TRUE(pair.Run(30000, [&] { return !pair.host.InFight() && !pair.joiner.InFight(); }));
    ASSERT_EQ(pair.host.platform.messages.size(), 1u);
    ASSERT_EQ(pair.joiner.platform.messages.size(), 1u);
    EXPECT_EQ(pair.host.platform.messages[0], pair.joiner.platform.messages[0]);
    EXPECT_EQ(pair.host.platform.messages[0].second, "End of Fight");
    EXPECT_EQ(pair.host.game().won1 + pair.host.game().won2, 0);  // a decided fight resets
    ASSERT_TRUE(pair.Run(100, [&] {
        return pair.host.fight.CurrentStage() == net::NetFight::Stage::kIdle &&
               pair.joiner.fight.CurrentStage() == net::NetFight::Stage::kIdle;
    }));
}

}  // namespace
}  // namespace blok
