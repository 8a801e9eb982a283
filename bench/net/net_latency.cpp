// Plays a network fight in real time between two games in this process, through a relay on
// 127.0.0.1 that adds a round trip, and measures how long a key of the joiner takes to reach
// its screen (the tick that carries it, played on the joiner's side) and the traffic each way.
// Usage: net_latency [SECONDS per setting, default 15]

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <vector>

#include "fight_rig.h"

namespace {

using namespace blok;
using namespace blok::net;
using namespace blok::net::testing;

struct Setting {
    int roundTripMs;
    int jitterMs;
    double loss;
};

struct Result {
    std::vector<Millis> delays;
    std::vector<Millis> frameGaps;  // between the joiner's input ticks, each a new frame
    Relay::Traffic sentToHost, sentToJoiner;
    double seconds = 0;
};

// One fight after another until the time is up; the joiner taps "turn" now and then.
void Measure(const Setting& setting, int seconds, Result& result) {
    std::mt19937 random(7);
    const Millis end = NowMs() + seconds * 1000;
    const Millis begin = NowMs();
    while (NowMs() < end) {
        Random hostShared(1), joinShared(2);
        RigHost hostSide, joinSide;
        Game hostGame(hostShared, hostSide), joinGame(joinShared, joinSide);
        HostFight host(hostGame, {}, [&] { return static_cast<std::uint32_t>(random()); });
        std::string error;
        if (!host.Listen(Enet(), 0, "127.0.0.1", "LAT", error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::exit(1);
        }
        Relay relay(host.Session().Port(),
                    {setting.roundTripMs / 2, setting.jitterMs, setting.loss},
                    static_cast<std::uint32_t>(random()));
        std::optional<Millis> pressedAt;
        std::optional<Millis> lastFrame;
        SessionEvents events;
        events.tick = [&](const Tick& tick) {
            if (tick.kind == TickKind::kInput) {
                if (lastFrame) result.frameGaps.push_back(NowMs() - *lastFrame);
                lastFrame = NowMs();
            }
            if (pressedAt && (tick.requests2 & kReqTurn) != 0) {
                result.delays.push_back(NowMs() - *pressedAt);
                pressedAt.reset();
            }
        };
        JoinFight join(joinGame, events);
        hostSide.steps = [&] { return host.Steps(); };
        joinSide.steps = [&] { return join.Steps(); };
        join.Connect(Enet(), "127.0.0.1", relay.Port(), "LAT", NowMs(), error);
        const auto pollBoth = [&] {
            host.Session().Poll(NowMs());
            relay.Pump();
            join.Session().Poll(NowMs());
            relay.Pump();
        };
        while (!join.Session().Playing() && NowMs() < end) {
            pollBoth();
            Breathe();
        }
        host.RunTick(TickKind::kStart, 0, 0);
        Millis nextInput = NowMs() + 60, nextGravity = NowMs() + hostGame.gamespeed;
        Millis nextPress = NowMs() + 300;
        while (hostGame.iGameStatus == kStatusFaceToFace && host.Session().Playing() &&
               NowMs() < end) {
            const Millis now = NowMs();
            if (now >= nextGravity) {
                host.RunTick(TickKind::kGravity, 0, 0);
                nextGravity += hostGame.gamespeed;
            }
            if (now >= nextInput) {
                if (host.RunTick(TickKind::kInput, 0, 0) && hostGame.GameInit == 1) {
                    host.RunTick(TickKind::kStart, 0, 0);
                }
                nextInput += 60;
            }
            if (now >= nextPress && !pressedAt) {
                pressedAt = now;
                join.SendKeys({kReqTurn, 0});
                nextPress = now + 250 + static_cast<Millis>(random() % 500);
            }
            pollBoth();
            Breathe();
        }
        result.sentToHost.bytes += relay.sentToHost.bytes;
        result.sentToHost.datagrams += relay.sentToHost.datagrams;
        result.sentToJoiner.bytes += relay.sentToJoiner.bytes;
        result.sentToJoiner.datagrams += relay.sentToJoiner.datagrams;
    }
    result.seconds = static_cast<double>(NowMs() - begin) / 1000.0;
}

Millis Percentile(std::vector<Millis> values, double p) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const Setting settings[] = {{0, 0, 0.0}, {50, 0, 0.0}, {100, 0, 0.0}, {100, 10, 0.02}};
    std::printf(
        "added RTT  jitter  loss  keys  delay ms: median  p90  max  frame gap ms: p99  max  "
        "joiner->host B/s  host->joiner B/s (UDP payload; +28 B per datagram)\n");
    for (const Setting& s : settings) {
        Result r;
        Measure(s, seconds, r);
        const auto perSecond = [&](const Relay::Traffic& t) {
            return static_cast<double>(t.bytes) / r.seconds;
        };
        const auto withHeaders = [&](const Relay::Traffic& t) {
            return static_cast<double>(t.bytes + 28 * t.datagrams) / r.seconds;
        };
        const auto at = [](const std::vector<Millis>& v, double p) {
            return static_cast<long long>(Percentile(v, p));
        };
        std::printf(
            "%6d ms  %3d ms  %3.0f%%  %4zu  %13lld  %4lld  %4lld  %16lld  %4lld  "
            "%7.0f (%5.0f)  %7.0f (%5.0f)\n",
            s.roundTripMs, s.jitterMs, s.loss * 100, r.delays.size(), at(r.delays, 0.5),
            at(r.delays, 0.9), at(r.delays, 1.0), at(r.frameGaps, 0.99), at(r.frameGaps, 1.0),
            perSecond(r.sentToHost), withHeaders(r.sentToHost), perSecond(r.sentToJoiner),
            withHeaders(r.sentToJoiner));
    }
    return 0;
}
