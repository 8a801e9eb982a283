#include "protocol.h"

#include <algorithm>

namespace blok::net {

namespace {

enum class Type : std::uint8_t {
    kHello = 1,
    kWelcome = 2,
    kRefuse = 3,
    kKeys = 4,
    kTick = 5,
    kStateHash = 6,
    kEnd = 7,
    kTickRun = 8,
};

class Writer {
  public:
    explicit Writer(Type type) { U8(static_cast<std::uint8_t>(type)); }
    void U8(std::uint8_t value) { bytes_.push_back(value); }
    void U16(std::uint16_t value) { Little(value, 2); }
    void U32(std::uint32_t value) { Little(value, 4); }
    void U64(std::uint64_t value) { Little(value, 8); }
    void Text(std::string_view text) {
        U8(static_cast<std::uint8_t>(text.size()));
        bytes_.insert(bytes_.end(), text.begin(), text.end());
    }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

  private:
    void Little(std::uint64_t value, int count) {
        for (int i = 0; i < count; ++i)
            bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    std::vector<std::uint8_t> bytes_;
};

// Reads fields in order; any read past the end marks the packet bad, and so does any byte left
// over when the message is complete.
class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint8_t U8() { return static_cast<std::uint8_t>(Little(1)); }
    std::uint16_t U16() { return static_cast<std::uint16_t>(Little(2)); }
    std::uint32_t U32() { return static_cast<std::uint32_t>(Little(4)); }
    std::uint64_t U64() { return Little(8); }
    std::string Text(std::size_t maxLength) {
        const std::size_t length = U8();
        if (length > maxLength || bytes_.size() - at_ < length) {
            bad_ = true;
            return {};
        }
        std::string text(reinterpret_cast<const char*>(bytes_.data() + at_), length);
        at_ += length;
        if (!IsValidText(text, maxLength)) bad_ = true;
        return text;
    }
    void Fail() { bad_ = true; }
    bool Complete() const { return !bad_ && at_ == bytes_.size(); }

  private:
    std::uint64_t Little(std::size_t count) {
        if (bytes_.size() - at_ < count) {
            bad_ = true;
            at_ = bytes_.size();
            return 0;
        }
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < count; ++i) value |= std::uint64_t{bytes_[at_ + i]} << (8 * i);
        at_ += count;
        return value;
    }
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
    bool bad_ = false;
};

std::vector<std::uint8_t> EncodeOne(const Hello& m) {
    Writer w(Type::kHello);
    w.U32(m.magic);
    w.U16(m.protocol);
    w.Text(m.gameVersion.substr(0, kMaxGameVersion));
    w.Text(m.joinCode.substr(0, kMaxJoinCode));
    return w.Take();
}

std::vector<std::uint8_t> EncodeOne(const Welcome& m) {
    Writer w(Type::kWelcome);
    w.U32(m.seed);
    w.U8(m.won1);
    w.U8(m.won2);
    return w.Take();
}

std::vector<std::uint8_t> EncodeOne(const Refuse& m) {
    Writer w(Type::kRefuse);
    w.U8(static_cast<std::uint8_t>(m.reason));
    return w.Take();
}

std::vector<std::uint8_t> EncodeOne(const Keys& m) {
    Writer w(Type::kKeys);
    w.U8(m.pressed & kKeyBits);
    w.U8(m.held & kKeyBits);
    return w.Take();
}

// What a tick does, after its number.
void WriteTickBody(Writer& w, const Tick& m) {
    w.U8(static_cast<std::uint8_t>(m.kind));
    w.U8(m.requests1 & kRequestBits);
    w.U8(m.requests2 & kRequestBits);
    w.U8(m.pausePressed ? 1 : 0);
}

std::vector<std::uint8_t> EncodeOne(const Tick& m) {
    Writer w(Type::kTick);
    w.U32(m.number);
    WriteTickBody(w, m);
    return w.Take();
}

std::vector<std::uint8_t> EncodeOne(const TickRun& m) {
    Writer w(Type::kTickRun);
    const std::size_t count = std::min(m.ticks.size(), kMaxRunTicks);
    w.U32(count > 0 ? m.ticks.front().number : 0);
    w.U8(static_cast<std::uint8_t>(count));
    for (std::size_t i = 0; i < count; ++i) WriteTickBody(w, m.ticks[i]);
    return w.Take();
}

std::vector<std::uint8_t> EncodeOne(const StateHash& m) {
    Writer w(Type::kStateHash);
    w.U32(m.number);
    w.U64(m.hash);
    return w.Take();
}

std::vector<std::uint8_t> EncodeOne(const End& m) {
    Writer w(Type::kEnd);
    w.U8(static_cast<std::uint8_t>(m.reason));
    return w.Take();
}

bool InRange(std::uint8_t value, std::uint8_t first, std::uint8_t last) {
    return value >= first && value <= last;
}

Tick ReadTickBody(Reader& r, std::uint32_t number) {
    Tick m;
    m.number = number;
    const std::uint8_t kind = r.U8();
    m.requests1 = r.U8();
    m.requests2 = r.U8();
    const std::uint8_t pause = r.U8();
    if (!InRange(kind, 1, 4) || ((m.requests1 | m.requests2) & ~kRequestBits) || pause > 1) {
        r.Fail();
    }
    m.kind = static_cast<TickKind>(kind);
    m.pausePressed = pause == 1;
    return m;
}

std::optional<Message> DecodeBody(Type type, Reader& r) {
    switch (type) {
        case Type::kHello: {
            Hello m;
            m.magic = r.U32();
            m.protocol = r.U16();
            m.gameVersion = r.Text(kMaxGameVersion);
            m.joinCode = r.Text(kMaxJoinCode);
            return m;
        }
        case Type::kWelcome: {
            Welcome m;
            m.seed = r.U32();
            m.won1 = r.U8();
            m.won2 = r.U8();
            // A tally of three ends a fight, so a running fight never carries one.
            if (m.won1 > 2 || m.won2 > 2) r.Fail();
            return m;
        }
        case Type::kRefuse: {
            const std::uint8_t reason = r.U8();
            if (!InRange(reason, 1, 4)) r.Fail();
            return Refuse{static_cast<Refusal>(reason)};
        }
        case Type::kKeys: {
            Keys m;
            m.pressed = r.U8();
            m.held = r.U8();
            if ((m.pressed | m.held) & ~kKeyBits) r.Fail();
            return m;
        }
        case Type::kTick:
            return ReadTickBody(r, r.U32());
        case Type::kTickRun: {
            TickRun m;
            const std::uint32_t first = r.U32();
            const std::uint8_t count = r.U8();
            if (count == 0 || count > kMaxRunTicks) {
                r.Fail();
                return m;
            }
            for (std::uint32_t i = 0; i < count; ++i) m.ticks.push_back(ReadTickBody(r, first + i));
            return m;
        }
        case Type::kStateHash: {
            StateHash m;
            m.number = r.U32();
            m.hash = r.U64();
            return m;
        }
        case Type::kEnd: {
            const std::uint8_t reason = r.U8();
            if (!InRange(reason, 1, 5)) r.Fail();
            return End{static_cast<EndReason>(reason)};
        }
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::uint8_t> Encode(const Message& message) {
    return std::visit([](const auto& m) { return EncodeOne(m); }, message);
}

std::optional<Message> Decode(std::span<const std::uint8_t> packet) {
    if (packet.empty() || packet.size() > kMaxPacketBytes) return std::nullopt;
    const std::uint8_t type = packet[0];
    if (!InRange(type, 1, 8)) return std::nullopt;
    Reader r(packet.subspan(1));
    std::optional<Message> message = DecodeBody(static_cast<Type>(type), r);
    if (!r.Complete()) return std::nullopt;
    return message;
}

bool IsValidText(std::string_view text, std::size_t maxLength) {
    if (text.size() > maxLength) return false;
    for (char c : text) {
        if (c < 0x21 || c > 0x7E) return false;
    }
    return true;
}

std::string_view RefusalText(Refusal reason) {
    switch (reason) {
        case Refusal::kWrongVersion:
            return "The other program is a different version of Blokfall.";
        case Refusal::kWrongCode:
            return "The join code is not the one the host shows.";
        case Refusal::kBusy:
            return "The host is already playing a network fight.";
        case Refusal::kNotAHello:
            return "The other program does not speak the Blokfall network protocol.";
    }
    return "The host refused the connection.";
}

std::string_view EndText(EndReason reason) {
    switch (reason) {
        case EndReason::kQuitGame:
            return "The other player has quit the fight.";
        case EndReason::kWindowClosed:
            return "The other player has closed Blokfall.";
        case EndReason::kDesync:
            return "The two games no longer agree, so the fight has ended.";
        case EndReason::kProtocolError:
            return "The other program sent something it should not, so the fight has ended.";
        case EndReason::kFightOver:
            return "";
    }
    return "The fight has ended.";
}

}  // namespace blok::net
