#include "fight.h"

namespace blok::net {

namespace {

// Ticks and hashes that may wait for the joiner's window: a minute of play.
constexpr std::size_t kMaxWaitingSteps = 2000;

// The fight begins on this side: the Game is prepared and its lockstep made before the owner
// hears of it.
std::function<void(const Welcome&)> Preparing(Game& game, std::optional<Lockstep>& lockstep,
                                              std::function<void(const Welcome&)> started) {
    return [&game, &lockstep, started = std::move(started)](const Welcome& welcome) {
        PrepareFight(game, welcome);
        lockstep.emplace(game, welcome.seed);
        if (started) started(welcome);
    };
}

// Either side's pause key toggles the pause; a player who left the window only stops a game that
// runs, so two such pauses, or one meeting a pause key, never resume it.
bool PauseToggled(std::uint8_t keys, bool paused) {
    return (keys & kKeyPause) != 0 || ((keys & kKeyAway) != 0 && !paused);
}

}  // namespace

void PrepareFight(Game& game, const Welcome& welcome) {
    game.iGameStatus = kStatusFaceToFace;
    game.noScore = 1;
    game.GameInit = 1;
    game.won1 = welcome.won1;
    game.won2 = welcome.won2;
    game.STOP = 0;
    game.gamePause = 0;
    game.gamespeedup = 0;
    // The joiner's window starts its own (idle) timers from this before the host's first tick.
    game.gamespeed = kStartSpeedMs;
}

// --- the host -------------------------------------------------------------------------------

HostFight::HostFight(Game& game, SessionEvents events, std::function<std::uint32_t()> seed)
    : game_(game),
      seed_(std::move(seed)),
      session_(
          [this, events] {
              SessionEvents own = events;
              own.started = Preparing(game_, lockstep_, events.started);
              return own;
          }(),
          [this] {
              Welcome welcome;
              welcome.seed = seed_();
              welcome.won1 = static_cast<std::uint8_t>(game_.won1);
              welcome.won2 = static_cast<std::uint8_t>(game_.won2);
              return welcome;
          }) {}

bool HostFight::Listen(Network& network, std::uint16_t port, const std::string& bindAddress,
                       const std::string& code, std::string& error) {
    return session_.Listen(network, port, bindAddress, code, error);
}

bool HostFight::RunTick(TickKind kind, std::uint8_t hostRequests, std::uint8_t hostKeys) {
    if (!lockstep_ || !session_.Playing()) return false;
    Tick tick;
    tick.number = lockstep_->NextNumber();
    tick.kind = kind;
    if (kind == TickKind::kInput) {
        const Keys joiner = session_.TakeKeys();
        tick.requests1 = hostRequests & kRequestBits;
        tick.requests2 = static_cast<std::uint8_t>(
            RequestsFrom({.leftPressed = (joiner.pressed & kReqLeft) != 0,
                          .leftHeld = (joiner.held & kReqLeft) != 0,
                          .rightPressed = (joiner.pressed & kReqRight) != 0,
                          .rightHeld = (joiner.held & kReqRight) != 0,
                          .turnPressed = (joiner.pressed & kReqTurn) != 0,
                          .downHeld = (joiner.held & kReqDown) != 0}));
        tick.pausePressed = PauseToggled(hostKeys | joiner.pressed, game_.gamePause == 1);
    } else if (kind == TickKind::kStart) {
        session_.TakeKeys();  // presses made before the start do not act
    }
    // Sent before it is played: playing may open the end-of-fight message, which waits.
    session_.SendTick(tick);
    const bool repaint = lockstep_->Apply(tick);
    if (game_.iGameStatus != kStatusFaceToFace) {
        session_.Finish(EndReason::kFightOver);
    } else if (tick.number % kHashEveryTicks == 0) {
        session_.SendHash({tick.number, HashGame(game_)});
    }
    return repaint;
}

// --- the joiner -----------------------------------------------------------------------------

JoinFight::JoinFight(Game& game, SessionEvents events)
    : game_(game), afterTick_(events.tick), session_([this, events] {
          SessionEvents own = events;
          own.started = Preparing(game_, lockstep_, events.started);
          own.tick = [this](const Tick& tick) { Receive(tick); };
          own.hash = [this](const StateHash& hash) { Receive(hash); };
          return own;
      }()) {}

bool JoinFight::Connect(Network& network, const std::string& host, std::uint16_t port,
                        const std::string& code, Millis now, std::string& error) {
    return session_.Connect(network, host, port, code, now, error);
}

void JoinFight::Hold(bool held) {
    held_ = held;
    while (!held_ && !waiting_.empty()) {
        const Step step = waiting_.front();
        waiting_.pop_front();
        Receive(step);
    }
}

void JoinFight::Receive(const Step& step) {
    if (held_) {
        if (waiting_.size() >= kMaxWaitingSteps) return session_.Abandon(EndReason::kProtocolError);
        waiting_.push_back(step);
    } else if (const Tick* tick = std::get_if<Tick>(&step)) {
        Play(*tick);
    } else {
        Compare(std::get<StateHash>(step));
    }
}

void JoinFight::Play(const Tick& tick) {
    // Once the fight is decided here, the ticks that follow belong to no fight.
    if (!lockstep_ || game_.iGameStatus != kStatusFaceToFace) return;
    repaint_ = lockstep_->Apply(tick);
    if (game_.iGameStatus != kStatusFaceToFace) {
        session_.Finish(EndReason::kFightOver);
    } else if (tick.number % kHashEveryTicks == 0) {
        hashes_[tick.number] = HashGame(game_);
        while (hashes_.size() > kKeptHashes) hashes_.erase(hashes_.begin());
    }
    if (afterTick_) afterTick_(tick);
}

void JoinFight::Compare(const StateHash& hash) {
    if (!lockstep_ || game_.iGameStatus != kStatusFaceToFace) return;
    const auto own = hashes_.find(hash.number);
    // Every hash follows its tick on the ordered stream, so that tick has been played here.
    if (own == hashes_.end()) return session_.Abandon(EndReason::kProtocolError);
    session_.SendHash({hash.number, own->second});
    if (own->second != hash.hash) session_.Abandon(EndReason::kDesync);
}

}  // namespace blok::net
