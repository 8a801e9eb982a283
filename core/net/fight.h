#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "game.h"
#include "lockstep.h"
#include "session.h"

namespace blok::net {

// Both sides compare their state hashes after every this many ticks.
inline constexpr std::uint32_t kHashEveryTicks = 16;

// Puts a Game into the first moment of a network fight, the same on both sides.
void PrepareFight(Game& game, const Welcome& welcome);

// The hosting side of a fight: its Game runs on the host's timers, and every tick goes to the
// joiner before it is played here.
class HostFight {
  public:
    // `events.started` runs once the joiner is admitted and the Game is prepared.
    HostFight(Game& game, SessionEvents events, std::function<std::uint32_t()> seed);
    bool Listen(Network& network, std::uint16_t port, const std::string& bindAddress,
                const std::string& code, std::string& error);

    // Plays one tick of the host's timers with the host player's requests and keys
    // (kKeyPause, kKeyAway); returns true when the window should repaint.
    bool RunTick(TickKind kind, std::uint8_t hostRequests, std::uint8_t hostKeys);

    HostSession& Session() { return session_; }
    Lockstep* Steps() { return lockstep_ ? &*lockstep_ : nullptr; }

  private:
    Game& game_;
    std::function<std::uint32_t()> seed_;
    std::optional<Lockstep> lockstep_;
    HostSession session_;
};

// The joining side: the host's ticks drive its Game; it sends its keys and answers hashes.
class JoinFight {
  public:
    // `events.tick` runs after each tick has been played here, with the tick.
    JoinFight(Game& game, SessionEvents events);
    bool Connect(Network& network, const std::string& host, std::uint16_t port,
                 const std::string& code, Millis now, std::string& error);
    void SendKeys(const Keys& keys) { session_.SendKeys(keys); }
    // While held, the host's ticks wait here (until this side's window is ready to show them).
    void Hold(bool held);

    JoinSession& Session() { return session_; }
    Lockstep* Steps() { return lockstep_ ? &*lockstep_ : nullptr; }
    // Whether the last tick asked for a repaint.
    bool RepaintDue() const { return repaint_; }

  private:
    // The host's ticks and hashes, in the order they came.
    using Step = std::variant<Tick, StateHash>;
    void Receive(const Step& step);
    void Play(const Tick& tick);
    void Compare(const StateHash& hash);

    Game& game_;
    std::function<void(const Tick&)> afterTick_;
    std::optional<Lockstep> lockstep_;
    JoinSession session_;
    bool repaint_ = false;
    bool held_ = false;
    std::deque<Step> waiting_;
    // Own hashes by tick: the unreliable ticks may carry this side past a hash's tick before the
    // ordered stream brings the host's.
    std::map<std::uint32_t, std::uint64_t> hashes_;
};

}  // namespace blok::net
