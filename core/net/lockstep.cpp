#include "lockstep.h"

#include <cstring>
#include <iterator>
#include <utility>

#include "game_frame.h"

namespace blok::net {

bool Lockstep::Apply(const Tick& tick) {
    if (framePending_) ClearShownBlastMarkers(game_);
    pressed1_ = held1_ = tick.requests1;
    pressed2_ = held2_ = tick.requests2;
    pausePressed_ = tick.pausePressed;
    next_ = tick.number + 1;

    const Random shared = game_.rng;
    game_.rng = random_;
    inTick_ = true;
    bool repaint = false;
    switch (tick.kind) {
        case TickKind::kStart:
            game_.StartFromPaint();
            repaint = true;
            break;
        case TickKind::kGravity:
            game_.GravityTick();
            break;
        case TickKind::kSpeedUp:
            game_.SpeedUpTick();
            break;
        case TickKind::kInput:
            repaint = game_.InputTick();
            break;
    }
    inTick_ = false;
    random_ = game_.rng;
    game_.rng = shared;
    framePending_ = repaint;
    return repaint;
}

Lockstep::KeySlot Lockstep::SlotOf(int virtualKey) const {
    const auto is = [virtualKey](int code) { return (code & 0xFF) == virtualKey; };
    const std::pair<int, std::uint8_t> keys[] = {
        {game_.key1left, kReqLeft}, {game_.key1right, kReqRight}, {game_.key1up, kReqTurn},
        {game_.key1down, kReqDown}, {game_.key2left, kReqLeft},   {game_.key2right, kReqRight},
        {game_.key2up, kReqTurn},   {game_.key2down, kReqDown}};
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        if (is(keys[i].first)) return {keys[i].second, i < 4};
    }
    return {};
}

bool Lockstep::PressedSinceLastRead(int virtualKey) {
    if (virtualKey == (kKeyP & 0xFF)) return std::exchange(pausePressed_, false);
    const KeySlot slot = SlotOf(virtualKey);
    std::uint8_t& pressed = slot.playerOne ? pressed1_ : pressed2_;
    const bool result = (pressed & slot.bit) != 0;
    pressed = static_cast<std::uint8_t>(pressed & ~slot.bit);
    return result;
}

bool Lockstep::Held(int virtualKey) const {
    const KeySlot slot = SlotOf(virtualKey);
    return ((slot.playerOne ? held1_ : held2_) & slot.bit) != 0;
}

namespace {

class Fnv {
  public:
    template <typename T>
    void Add(const T& value) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (unsigned char b : bytes) hash_ = (hash_ ^ b) * 0x100000001B3ull;
    }
    void Add(const figure& piece) {
        Add(piece.what);
        Add(piece.color);
        Add(piece.x);
        Add(piece.y);
        Add(piece.stone);
    }
    std::uint64_t Value() const { return hash_; }

  private:
    std::uint64_t hash_ = 0xCBF29CE484222325ull;
};

}  // namespace

std::uint64_t HashGame(const Game& game) {
    Fnv h;
    h.Add(game.SpielFeld);
    h.Add(game.AktuellerSpielStein1);
    h.Add(game.AktuellerSpielStein2);
    for (int value :
         {game.iGameStatus, game.GameInit, game.isLeft1, game.isRight1, game.isUp1, game.isDown1,
          game.isLeft2, game.isRight2, game.isUp2, game.isDown2, game.won1, game.won2,
          game.gamespeed, game.gamespeedup, game.STOP, game.gamePause}) {
        h.Add(value);
    }
    h.Add(game.Up1Points);
    h.Add(game.Up2Points);
    return h.Value();
}

std::uint8_t RequestsFrom(const KeyReading& keys) {
    std::uint8_t bits = 0;
    if (keys.leftPressed || keys.leftHeld) bits |= kReqLeft;
    if (keys.rightPressed || keys.rightHeld) bits |= kReqRight;
    if (keys.turnPressed) bits |= kReqTurn;
    if (keys.downHeld) bits |= kReqDown;
    return bits;
}

}  // namespace blok::net
