#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace blok::net {

// The messages two Blokfall programs exchange during a network fight. Every packet starts with
// one byte naming its message; all numbers are little-endian; text fields carry a length byte
// and printable ASCII only. A packet that breaks any rule decodes to nothing.

inline constexpr std::uint32_t kMagic = 0x464B4C42;  // "BLKF"
inline constexpr std::uint16_t kProtocolVersion = 3;
inline constexpr std::size_t kMaxPacketBytes = 64;
inline constexpr std::size_t kMaxGameVersion = 24;
inline constexpr std::size_t kMaxJoinCode = 16;
inline constexpr std::uint16_t kDefaultPort = 24642;

// One player's requests at an input tick, and the joiner's keys, as bits.
inline constexpr std::uint8_t kReqLeft = 1, kReqRight = 2, kReqTurn = 4, kReqDown = 8;
inline constexpr std::uint8_t kKeyPause = 16;
// The player left the window with "Pause When Inactive" on: pauses a running fight, never
// resumes a paused one.
inline constexpr std::uint8_t kKeyAway = 32;
inline constexpr std::uint8_t kRequestBits = 0x0F;
inline constexpr std::uint8_t kKeyBits = 0x3F;

// The joiner asks to play.
struct Hello {
    std::uint32_t magic = kMagic;
    std::uint16_t protocol = kProtocolVersion;
    std::string gameVersion;
    std::string joinCode;
};

// The host accepts: the fight begins from this generator seed and this bout tally.
struct Welcome {
    std::uint32_t seed = 0;
    std::uint8_t won1 = 0;
    std::uint8_t won2 = 0;
};

enum class Refusal : std::uint8_t {
    kWrongVersion = 1,
    kWrongCode = 2,
    kBusy = 3,
    kNotAHello = 4,
};

struct Refuse {
    Refusal reason = Refusal::kWrongVersion;
};

// The joiner's keys: those pressed since its last message and those held now.
struct Keys {
    std::uint8_t pressed = 0;
    std::uint8_t held = 0;
};

enum class TickKind : std::uint8_t { kStart = 1, kGravity = 2, kSpeedUp = 3, kInput = 4 };

// One step of the host's game, with everything the joiner needs to repeat it.
struct Tick {
    std::uint32_t number = 0;
    TickKind kind = TickKind::kInput;
    std::uint8_t requests1 = 0;  // left player
    std::uint8_t requests2 = 0;  // right player
    bool pausePressed = false;
};

// The host's latest ticks again, oldest first and numbered on from `ticks.front()`: sent beside
// the ordered stream without resends, so that one lost packet there does not hold the joiner's
// game back while it is sent again.
inline constexpr std::size_t kMaxRunTicks = 4;
struct TickRun {
    std::vector<Tick> ticks;  // 1 to kMaxRunTicks, numbers consecutive
};

// A hash of the game state right after tick `number`.
struct StateHash {
    std::uint32_t number = 0;
    std::uint64_t hash = 0;
};

enum class EndReason : std::uint8_t {
    kQuitGame = 1,
    kWindowClosed = 2,
    kDesync = 3,
    kProtocolError = 4,
    kFightOver = 5,  // decided by the rules: both sides know it already
};

struct End {
    EndReason reason = EndReason::kQuitGame;
};

using Message = std::variant<Hello, Welcome, Refuse, Keys, Tick, StateHash, End, TickRun>;

std::vector<std::uint8_t> Encode(const Message& message);
// Nothing for a packet that is empty, too long, of an unknown kind, of the wrong length for its
// kind, or holds a value out of range.
std::optional<Message> Decode(std::span<const std::uint8_t> packet);

// What each side tells its player; empty where there is nothing to tell.
std::string_view RefusalText(Refusal reason);
std::string_view EndText(EndReason reason);

// A join code or host name typed by a person: printable ASCII of a bounded length.
bool IsValidText(std::string_view text, std::size_t maxLength);

}  // namespace blok::net
