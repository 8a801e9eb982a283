#pragma once

// Two Games in one process fighting over real ENet on 127.0.0.1, optionally through a relay
// that delays, drops and reorders datagrams.

#include <chrono>
#include <cstdint>
#include <memory>
#include <queue>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <netinet/in.h>

#include "enet_transport.h"
#include "fight.h"
#include "game.h"
#include "random.h"

namespace blok::net::testing {

// Waiting loops give the processor away between polls.
inline void Breathe() {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// ENet on this machine's sockets; it keeps no state, so one serves every side.
inline Network& Enet() {
    static enet::EnetNetwork network;
    return network;
}

inline Millis NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The game's surroundings on one side: key readings from the fight, no window.
class RigHost : public GameHost {
  public:
    std::function<Lockstep*()> steps;
    int gravityRestartedTo = 0;  // the last interval the game asked for, 0 when none
    int messages = 0;

    bool PressedSinceLastRead(int virtualKey) override {
        Lockstep* s = steps();
        return s != nullptr && s->PressedSinceLastRead(virtualKey);
    }
    bool Held(int virtualKey) override {
        Lockstep* s = steps();
        return s != nullptr && s->Held(virtualKey);
    }
    void ShowMessage(std::string_view, std::string_view) override { ++messages; }
    void RestartGravityTimer(int milliseconds) override { gravityRestartedTo = milliseconds; }
};

struct Impairment {
    int oneWayDelayMs = 0;
    int jitterMs = 0;
    double loss = 0.0;
};

// A UDP relay on 127.0.0.1 between a joiner and a host.
class Relay {
  public:
    Relay(std::uint16_t hostPort, Impairment impairment, std::uint32_t seed);
    ~Relay();
    std::uint16_t Port() const { return frontPort_; }
    // Moves datagrams: reads both sockets, sends what is due.
    void Pump();

    // What passed through, each way: datagrams and their UDP payload bytes.
    struct Traffic {
        std::uint64_t datagrams = 0;
        std::uint64_t bytes = 0;
    };
    Traffic sentToHost, sentToJoiner;

  private:
    struct Datagram {
        Millis due;
        bool toHost;
        std::vector<std::uint8_t> bytes;
        bool operator>(const Datagram& other) const { return due > other.due; }
    };
    void Receive(int socket, bool toHost);

    int front_ = -1;  // the joiner talks to this one
    int back_ = -1;   // connected to the host
    std::uint16_t frontPort_ = 0;
    sockaddr_in joiner_{};
    bool joinerKnown_ = false;
    Impairment impairment_;
    std::mt19937 random_;
    std::priority_queue<Datagram, std::vector<Datagram>, std::greater<>> queue_;
};

}  // namespace blok::net::testing
