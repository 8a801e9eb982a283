// A hosting or joining side faced with wrong codes, other versions, a second machine, packets
// that break the rules, a handshake out of turn, a vanished peer and a state that drifts.

#include <gtest/gtest.h>

#include "fight_rig.h"

namespace blok::net::testing {
namespace {

using enet::EnetTransport;

// A program on the other end that says whatever the test wants, over real ENet.
class RawPeer {
  public:
    static RawPeer Connect(std::uint16_t port) {
        std::string error;
        RawPeer peer(EnetTransport::Connect("127.0.0.1", port, error));
        return peer;
    }
    static RawPeer Listen() {
        std::string error;
        return RawPeer(EnetTransport::Listen(0, "127.0.0.1", error));
    }
    void Poll() {
        for (EnetTransport::Event& event : transport->Poll()) {
            if (event.kind == EnetTransport::Event::Kind::kConnected) peer = event.peer;
            if (event.kind == EnetTransport::Event::Kind::kDisconnected) gone = true;
            if (event.kind == EnetTransport::Event::Kind::kReceived) {
                if (auto message = Decode(event.data)) received.push_back(*message);
            }
        }
    }
    void Send(const Message& message) { SendBytes(Encode(message)); }
    void SendBytes(const std::vector<std::uint8_t>& bytes) { transport->Send(peer, bytes); }
    void SendUnreliable(const Message& message) {
        transport->SendUnreliable(peer, Encode(message));
    }
    template <typename T>
    const T* Last() const {
        for (auto it = received.rbegin(); it != received.rend(); ++it) {
            if (const T* found = std::get_if<T>(&*it)) return found;
        }
        return nullptr;
    }

    std::unique_ptr<EnetTransport> transport;
    EnetTransport::PeerId peer = 0;
    bool gone = false;
    std::vector<Message> received;

  private:
    explicit RawPeer(std::unique_ptr<EnetTransport> t) : transport(std::move(t)) {}
};

Hello GoodHello(std::string code = "K3Y") {
    return {kMagic, kProtocolVersion, std::string(GameVersion()), std::move(code)};
}

// What a side tells its player: why its fight ended, and what it dropped or refused.
struct Told {
    SessionEvents Events() {
        SessionEvents events;
        events.ended = [this](std::string_view why) { ended = why; };
        events.note = [this](std::string_view what) { notes.emplace_back(what); };
        return events;
    }
    std::optional<std::string> ended;
    std::vector<std::string> notes;
};

// A host with its Game, listening on 127.0.0.1.
struct HostRig : Told {
    HostRig() : game(shared, side), fight(game, Events(), [] { return 1234u; }) {
        side.steps = [this] { return fight.Steps(); };
        std::string error;
        EXPECT_TRUE(fight.Listen(Enet(), 0, "127.0.0.1", "K3Y", error)) << error;
    }
    std::uint16_t Port() { return fight.Session().Port(); }

    Random shared;
    RigHost side;
    Game game;
    HostFight fight;
};

struct JoinRig : Told {
    JoinRig() : game(shared, side), fight(game, Events()) {
        side.steps = [this] { return fight.Steps(); };
    }
    bool Connect(std::uint16_t port, const std::string& code = "K3Y") {
        std::string error;
        return fight.Connect(Enet(), "127.0.0.1", port, code, NowMs(), error);
    }

    Random shared;
    RigHost side;
    Game game;
    JoinFight fight;
};

// Polls everything given until `done` holds or the time is up; returns `done()`.
template <typename Done, typename... Pollers>
bool PollUntil(Done done, int milliseconds, Pollers&... pollers) {
    const Millis end = NowMs() + milliseconds;
    while (!done() && NowMs() < end) {
        (pollers(), ...);
        Breathe();
    }
    return done();
}

TEST(Faults, WrongCodeAndWrongVersionAreRefusedAndTheHostWaitsOn) {
    HostRig host;
    const auto pollHost = [&] { host.fight.Session().Poll(NowMs()); };

    JoinRig wrongCode;
    ASSERT_TRUE(wrongCode.Connect(host.Port(), "NOPE"));
    const auto pollWrong = [&] { wrongCode.fight.Session().Poll(NowMs()); };
    ASSERT_TRUE(PollUntil([&] { return wrongCode.ended.has_value(); }, 3000, pollHost, pollWrong));
    EXPECT_EQ(*wrongCode.ended, RefusalText(Refusal::kWrongCode));

    RawPeer other = RawPeer::Connect(host.Port());
    const auto pollOther = [&] { other.Poll(); };
    ASSERT_TRUE(PollUntil([&] { return other.peer != 0; }, 3000, pollHost, pollOther));
    Hello old = GoodHello();
    old.gameVersion = "0.9";
    other.Send(old);
    ASSERT_TRUE(PollUntil([&] { return other.gone; }, 3000, pollHost, pollOther));
    ASSERT_NE(other.Last<Refuse>(), nullptr);
    EXPECT_EQ(other.Last<Refuse>()->reason, Refusal::kWrongVersion);
    EXPECT_FALSE(host.fight.Session().Playing());
    EXPECT_FALSE(host.ended.has_value());

    JoinRig right;
    ASSERT_TRUE(right.Connect(host.Port()));
    const auto pollRight = [&] { right.fight.Session().Poll(NowMs()); };
    EXPECT_TRUE(
        PollUntil([&] { return right.fight.Session().Playing(); }, 3000, pollHost, pollRight));
    EXPECT_EQ(right.game.iGameStatus, kStatusFaceToFace);
    EXPECT_EQ(host.notes.size(), 2u);
}

TEST(Faults, ASecondMachineAndBrokenPacketsLeaveTheFightRunning) {
    HostRig host;
    const auto pollHost = [&] { host.fight.Session().Poll(NowMs()); };
    RawPeer joiner = RawPeer::Connect(host.Port());
    const auto pollJoiner = [&] { joiner.Poll(); };
    ASSERT_TRUE(PollUntil([&] { return joiner.peer != 0; }, 3000, pollHost, pollJoiner));
    joiner.Send(GoodHello());
    ASSERT_TRUE(
        PollUntil([&] { return joiner.Last<Welcome>() != nullptr; }, 3000, pollHost, pollJoiner));
    EXPECT_EQ(joiner.Last<Welcome>()->seed, 1234u);

    // The same hello again, a welcome the host never expects, garbage, and an oversized packet.
    joiner.Send(GoodHello());
    joiner.Send(Welcome{1, 0, 0});
    joiner.SendBytes({0xFF, 0x00, 0x13});
    joiner.SendBytes(std::vector<std::uint8_t>(200, 0x05));
    // A second machine that says hello with the right code, and one that speaks out of turn.
    RawPeer second = RawPeer::Connect(host.Port());
    RawPeer third = RawPeer::Connect(host.Port());
    const auto pollOthers = [&] {
        second.Poll();
        third.Poll();
    };
    ASSERT_TRUE(PollUntil([&] { return second.peer != 0 && third.peer != 0; }, 3000, pollHost,
                          pollJoiner, pollOthers));
    second.Send(GoodHello());
    third.Send(Tick{0, TickKind::kInput, 0, 0, false});
    ASSERT_TRUE(PollUntil([&] { return second.gone && third.gone; }, 3000, pollHost, pollJoiner,
                          pollOthers));
    EXPECT_EQ(second.Last<Refuse>()->reason, Refusal::kBusy);
    EXPECT_EQ(third.Last<Refuse>()->reason, Refusal::kNotAHello);

    EXPECT_TRUE(host.fight.Session().Playing());
    EXPECT_FALSE(host.ended.has_value());
    EXPECT_GE(host.notes.size(), 4u);  // repeated hello, misplaced welcome, two broken packets
    EXPECT_FALSE(joiner.gone);
    host.fight.RunTick(TickKind::kStart, 0, 0);
    EXPECT_TRUE(
        PollUntil([&] { return joiner.Last<Tick>() != nullptr; }, 3000, pollHost, pollJoiner));
}

TEST(Faults, TicksOutOfTurnEndTheJoinersFight) {
    for (const bool beforeWelcome : {true, false}) {
        RawPeer fakeHost = RawPeer::Listen();
        JoinRig joiner;
        ASSERT_TRUE(joiner.Connect(fakeHost.transport->LocalPort()));
        const auto pollHost = [&] { fakeHost.Poll(); };
        const auto pollJoiner = [&] { joiner.fight.Session().Poll(NowMs()); };
        ASSERT_TRUE(PollUntil([&] { return fakeHost.Last<Hello>() != nullptr; }, 3000, pollHost,
                              pollJoiner));
        if (!beforeWelcome) fakeHost.Send(Welcome{9, 0, 0});
        fakeHost.Send(Tick{beforeWelcome ? 0u : 3u, TickKind::kInput, 0, 0, false});
        ASSERT_TRUE(
            PollUntil([&] { return joiner.ended.has_value(); }, 3000, pollHost, pollJoiner));
        EXPECT_EQ(*joiner.ended, EndText(EndReason::kProtocolError));
        ASSERT_TRUE(
            PollUntil([&] { return fakeHost.Last<End>() != nullptr; }, 3000, pollHost, pollJoiner));
        EXPECT_EQ(fakeHost.Last<End>()->reason, EndReason::kProtocolError);
    }
}

TEST(Faults, TicksFromEitherStreamArePlayedOnceInOrder) {
    RawPeer fakeHost = RawPeer::Listen();
    JoinRig joiner;
    ASSERT_TRUE(joiner.Connect(fakeHost.transport->LocalPort()));
    const auto pollHost = [&] { fakeHost.Poll(); };
    const auto pollJoiner = [&] { joiner.fight.Session().Poll(NowMs()); };
    ASSERT_TRUE(
        PollUntil([&] { return fakeHost.Last<Hello>() != nullptr; }, 3000, pollHost, pollJoiner));
    fakeHost.Send(Welcome{9, 0, 0});
    ASSERT_TRUE(
        PollUntil([&] { return joiner.fight.Session().Playing(); }, 3000, pollHost, pollJoiner));
    std::vector<Tick> ticks;
    for (std::uint32_t n = 0; n < 4; ++n)
        ticks.push_back({n, TickKind::kInput, 0, kReqLeft, false});

    // A run after a gap waits; the run that fills it plays all three, before the ordered stream.
    fakeHost.SendUnreliable(TickRun{{ticks[1], ticks[2]}});
    fakeHost.SendUnreliable(TickRun{{ticks[0], ticks[1], ticks[2]}});
    const auto played = [&] { return joiner.fight.Steps()->NextNumber(); };
    ASSERT_TRUE(PollUntil([&] { return played() == 3; }, 3000, pollHost, pollJoiner));
    // The ordered stream repeats them: only the fourth is new.
    for (const Tick& tick : ticks) fakeHost.Send(tick);
    fakeHost.SendUnreliable(TickRun{{ticks[2], ticks[3]}});
    ASSERT_TRUE(PollUntil([&] { return played() == 4; }, 3000, pollHost, pollJoiner));
    PollUntil([] { return false; }, 200, pollHost, pollJoiner);
    EXPECT_EQ(played(), 4u);
    EXPECT_FALSE(joiner.ended.has_value());
}

TEST(Faults, DriftingStatesEndTheFightOnBothSides) {
    HostRig host;
    JoinRig joiner;
    ASSERT_TRUE(joiner.Connect(host.Port()));
    const auto pollHost = [&] { host.fight.Session().Poll(NowMs()); };
    const auto pollJoiner = [&] { joiner.fight.Session().Poll(NowMs()); };
    ASSERT_TRUE(
        PollUntil([&] { return joiner.fight.Session().Playing(); }, 3000, pollHost, pollJoiner));
    host.fight.RunTick(TickKind::kStart, 0, 0);
    ASSERT_TRUE(PollUntil([&] { return joiner.fight.Steps()->NextNumber() == 1; }, 3000, pollHost,
                          pollJoiner));
    joiner.game.SpielFeld[5][10] = 3;  // a cell the host does not have
    for (std::uint32_t i = 1; i <= kHashEveryTicks; ++i) {
        host.fight.RunTick(TickKind::kInput, 0, 0);
    }
    ASSERT_TRUE(PollUntil([&] { return joiner.ended && host.ended; }, 3000, pollHost, pollJoiner));
    EXPECT_EQ(*joiner.ended, EndText(EndReason::kDesync));
    EXPECT_EQ(*host.ended, EndText(EndReason::kDesync));
}

TEST(Faults, NoAnswerAndAVanishedPeerEndWithinTheTimeout) {
    // Nobody listens on the port of a host that has just gone.
    std::uint16_t deadPort = 0;
    {
        RawPeer gone = RawPeer::Listen();
        deadPort = gone.transport->LocalPort();
    }
    JoinRig lonely;
    ASSERT_TRUE(lonely.Connect(deadPort));
    const Millis start = NowMs();
    const auto pollLonely = [&] { lonely.fight.Session().Poll(NowMs()); };
    ASSERT_TRUE(PollUntil([&] { return lonely.ended.has_value(); }, 8000, pollLonely));
    EXPECT_EQ(*lonely.ended, "No answer from 127.0.0.1:" + std::to_string(deadPort) + ".");
    EXPECT_GE(NowMs() - start, kHandshakeTimeoutMs - 100);

    HostRig host;
    auto joiner = std::make_unique<JoinRig>();
    ASSERT_TRUE(joiner->Connect(host.Port()));
    const auto pollHost = [&] { host.fight.Session().Poll(NowMs()); };
    const auto pollJoiner = [&] {
        if (joiner) joiner->fight.Session().Poll(NowMs());
    };
    ASSERT_TRUE(
        PollUntil([&] { return host.fight.Session().Playing(); }, 3000, pollHost, pollJoiner));
    joiner.reset();  // gone without a word, as a machine that loses its network
    const Millis lost = NowMs();
    ASSERT_TRUE(PollUntil([&] { return host.ended.has_value(); }, 12000, pollHost));
    EXPECT_EQ(*host.ended, "The connection to the other player was lost.");
    EXPECT_LE(NowMs() - lost, 7000);
}

}  // namespace
}  // namespace blok::net::testing
