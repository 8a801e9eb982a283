// Whole fights between a hosting and a joining Game over real ENet on 127.0.0.1, with random
// keys on both sides: after every tick the joiner's state must be the host's.

#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "fight_rig.h"

namespace blok::net::testing {
namespace {

constexpr int kInputMs = 60;
constexpr int kSpeedUpMs = 10000;
constexpr long kImpairedSpeed = 60;

struct Totals {
    int bouts = 0;
    int fights = 0;
    long ticksCompared = 0;
    long mismatches = 0;
};

// The host's timers on a virtual clock, as the window's shell runs them.
class HostClock {
  public:
    void Restart(long now, int gravityMs) {
        gravity_ = now + gravityMs;
        speedUp_ = now + kSpeedUpMs;
        input_ = now + kInputMs;
    }
    void RestartGravity(long now, int gravityMs) { gravity_ = now + gravityMs; }
    // The next timer to fire and its time.
    TickKind Next(long& now, int gravityMs) {
        if (gravity_ <= input_ && gravity_ <= speedUp_) {
            now = gravity_;
            gravity_ += gravityMs;
            return TickKind::kGravity;
        }
        if (speedUp_ <= input_) {
            now = speedUp_;
            speedUp_ += kSpeedUpMs;
            return TickKind::kSpeedUp;
        }
        now = input_;
        input_ += kInputMs;
        return TickKind::kInput;
    }

  private:
    long gravity_ = 0, speedUp_ = 0, input_ = 0;
};

// Random key behaviour: holds and taps that change every few ticks.
std::uint8_t RandomKeys(std::mt19937& random) {
    std::uint8_t bits = static_cast<std::uint8_t>(random() & kRequestBits);
    if (random() % 3 != 0) bits &= static_cast<std::uint8_t>(~kReqDown);  // not always falling
    return bits;
}

// Plays one fight; returns false when it could not be played to its end.
bool PlayFight(const std::optional<Impairment>& impairment, std::uint32_t seed, int pausesEvery,
               Totals& totals) {
    std::mt19937 random(seed);
    Random hostShared(seed), joinShared(seed ^ 0x5A5Au);
    RigHost hostSide, joinSide;
    Game hostGame(hostShared, hostSide), joinGame(joinShared, joinSide);
    std::map<std::uint32_t, std::uint64_t> hostHashes;

    HostFight host(hostGame, {}, [&] { return static_cast<std::uint32_t>(random()); });
    std::string error;
    if (!host.Listen(Enet(), 0, "127.0.0.1", "K3Y", error)) {
        ADD_FAILURE() << error;
        return false;
    }
    std::optional<Relay> relay;
    if (impairment) relay.emplace(host.Session().Port(), *impairment, seed);
    const std::uint16_t port = relay ? relay->Port() : host.Session().Port();

    std::string joinerEnd;
    SessionEvents joinEvents;
    joinEvents.tick = [&](const Tick& tick) {
        ++totals.ticksCompared;
        const auto found = hostHashes.find(tick.number);
        if (found == hostHashes.end() || found->second != HashGame(joinGame)) ++totals.mismatches;
        if (found != hostHashes.end()) hostHashes.erase(found);
    };
    joinEvents.ended = [&](std::string_view why) { joinerEnd = why; };
    JoinFight join(joinGame, joinEvents);
    hostSide.steps = [&] { return host.Steps(); };
    joinSide.steps = [&] { return join.Steps(); };
    if (!join.Connect(Enet(), "127.0.0.1", port, "K3Y", NowMs(), error)) {
        ADD_FAILURE() << error;
        return false;
    }
    const auto pollBoth = [&] {
        host.Session().Poll(NowMs());
        if (relay) relay->Pump();
        join.Session().Poll(NowMs());
        if (relay) relay->Pump();
    };
    const auto pollAndBreathe = [&] {
        pollBoth();
        Breathe();
    };
    const Millis handshakeEnd = NowMs() + 5000;
    while (!(host.Session().Playing() && join.Session().Playing()) && NowMs() < handshakeEnd) {
        pollAndBreathe();
    }
    if (!host.Session().Playing() || !join.Session().Playing()) {
        ADD_FAILURE() << "no handshake: " << joinerEnd;
        return false;
    }

    // The host plays as fast as it can; under impairment at most kImpairedSpeed times real
    // speed, so that the joiner's keys still arrive while the fight is on.
    HostClock clock;
    long now = 0;
    const Millis started = NowMs();
    const auto play = [&](TickKind kind, std::uint8_t requests, bool pause) {
        const std::uint32_t number = host.Steps()->NextNumber();
        const bool repaint = host.RunTick(kind, requests, pause ? kKeyPause : 0);
        hostHashes[number] = HashGame(hostGame);
        return repaint;
    };
    // The joiner's window may start its game some ticks after the host's: those wait.
    join.Hold(true);
    play(TickKind::kStart, 0, false);
    clock.Restart(now, hostGame.gamespeed);
    int ticks = 0;
    while (hostGame.iGameStatus == kStatusFaceToFace && host.Session().Playing()) {
        const int gravityBefore = hostGame.gamespeed;
        const TickKind kind = clock.Next(now, gravityBefore);
        ++ticks;
        const bool pause = pausesEvery > 0 && ticks % pausesEvery == 0;
        const bool repaint = play(kind, RandomKeys(random), pause);
        if (hostSide.gravityRestartedTo != 0) {
            clock.RestartGravity(now, std::exchange(hostSide.gravityRestartedTo, 0));
        }
        if (repaint && hostGame.GameInit == 1) {  // the paint after the tick starts a bout
            ++totals.bouts;
            play(TickKind::kStart, 0, false);
            clock.Restart(now, hostGame.gamespeed);
        } else if (kind == TickKind::kGravity && hostGame.GameInit == 1) {
            ++totals.bouts;  // the next tick starts it
        }
        if (random() % 4 == 0) {
            const std::uint8_t held = RandomKeys(random);
            join.SendKeys(
                {static_cast<std::uint8_t>(held | (random() % 40 == 0 ? kKeyPause : 0)), held});
        }
        if (ticks == 40) join.Hold(false);
        if (ticks % 8 == 0) pollBoth();
        if (impairment) {
            while (now > (NowMs() - started) * kImpairedSpeed) pollAndBreathe();
        }
    }
    ++totals.bouts;  // the deciding one
    ++totals.fights;

    const Millis drainEnd = NowMs() + 10000;
    while (joinGame.iGameStatus == kStatusFaceToFace && NowMs() < drainEnd) pollAndBreathe();
    EXPECT_NE(joinGame.iGameStatus, kStatusFaceToFace) << "the joiner never saw the end";
    EXPECT_EQ(joinGame.SpielFeld, hostGame.SpielFeld);
    EXPECT_EQ(joinGame.won1, hostGame.won1);
    EXPECT_EQ(joinGame.won2, hostGame.won2);
    EXPECT_EQ(hostSide.messages, 1);
    EXPECT_EQ(joinSide.messages, 1);
    EXPECT_EQ(joinerEnd, "");
    return true;
}

void PlayBouts(const std::optional<Impairment>& impairment, int bouts, int pausesEvery) {
    Totals totals;
    for (std::uint32_t seed = 1; totals.bouts < bouts; ++seed) {
        if (!PlayFight(impairment, seed, pausesEvery, totals)) return;
    }
    EXPECT_EQ(totals.mismatches, 0);
    EXPECT_GT(totals.ticksCompared, 100L * totals.bouts);
    std::printf("%d fights, %d bouts, %ld ticks compared\n", totals.fights, totals.bouts,
                totals.ticksCompared);
}

TEST(Loopback, TwoHundredBoutsWithRandomKeysStayIdentical) {
    PlayBouts(std::nullopt, 200, 0);
}

TEST(Loopback, PausesFromBothSidesStayIdentical) {
    PlayBouts(std::nullopt, 10, 97);
}

TEST(Loopback, ImpairedFightsStayIdentical) {
    PlayBouts(Impairment{50, 20, 0.02}, 8, 0);
}

}  // namespace
}  // namespace blok::net::testing
