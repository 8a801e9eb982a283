#include <gtest/gtest.h>

#include "protocol.h"

namespace blok::net {
namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<std::uint8_t> bytes;
    for (int v : values) bytes.push_back(static_cast<std::uint8_t>(v));
    return bytes;
}

TEST(Protocol, EveryMessageReadsBackAsWritten) {
    const Hello hello{kMagic, kProtocolVersion, "1.0", "ABCDEFGHIJKLMNOP"};
    const Tick tick{0xA1B2C3D4u, TickKind::kGravity, kReqLeft | kReqDown, kReqTurn, true};
    const std::vector<Message> messages = {hello,
                                           Welcome{0xDEADBEEFu, 2, 1},
                                           Refuse{Refusal::kBusy},
                                           Keys{kKeyPause | kReqLeft, kReqDown},
                                           tick,
                                           StateHash{77, 0x0123456789ABCDEFull},
                                           End{EndReason::kFightOver},
                                           TickRun{{tick, Tick{0xA1B2C3D5u}}}};
    for (const Message& message : messages) {
        const std::vector<std::uint8_t> bytes = Encode(message);
        ASSERT_LE(bytes.size(), kMaxPacketBytes);
        const std::optional<Message> back = Decode(bytes);
        ASSERT_TRUE(back.has_value()) << "kind " << message.index();
        EXPECT_EQ(back->index(), message.index());
        EXPECT_EQ(Encode(*back), bytes);
    }
    const Tick read = std::get<Tick>(*Decode(Encode(tick)));
    EXPECT_EQ(read.number, tick.number);
    EXPECT_EQ(read.kind, TickKind::kGravity);
    EXPECT_EQ(read.requests1, kReqLeft | kReqDown);
    EXPECT_TRUE(read.pausePressed);
    const TickRun run = std::get<TickRun>(*Decode(Encode(TickRun{{tick, Tick{0xA1B2C3D5u}}})));
    ASSERT_EQ(run.ticks.size(), 2u);
    EXPECT_EQ(run.ticks[1].number, 0xA1B2C3D5u);
    EXPECT_EQ(run.ticks[0].requests2, kReqTurn);
    const Hello readHello = std::get<Hello>(*Decode(Encode(hello)));
    EXPECT_EQ(readHello.joinCode, "ABCDEFGHIJKLMNOP");
}

TEST(Protocol, EveryShortenedOrLengthenedPacketIsRefused) {
    const std::vector<Message> messages = {
        Hello{kMagic, 1, "1.0", "CODE"},        Welcome{1, 0, 0}, Keys{1, 1},
        Tick{5, TickKind::kInput, 1, 2, false}, StateHash{1, 2},  End{EndReason::kQuitGame},
        TickRun{{Tick{5}, Tick{6}, Tick{7}}}};
    for (const Message& message : messages) {
        const std::vector<std::uint8_t> bytes = Encode(message);
        for (std::size_t length = 0; length < bytes.size(); ++length) {
            EXPECT_FALSE(Decode(std::span(bytes).first(length)).has_value())
                << "kind " << message.index() << " cut to " << length;
        }
        std::vector<std::uint8_t> longer = bytes;
        longer.push_back(0);
        EXPECT_FALSE(Decode(longer).has_value()) << "kind " << message.index();
    }
}

TEST(Protocol, ValuesOutOfRangeAreRefused) {
    EXPECT_FALSE(Decode(Bytes({0})).has_value());                             // unknown kind
    EXPECT_FALSE(Decode(Bytes({9, 0})).has_value());                          // unknown kind
    EXPECT_FALSE(Decode(Bytes({3, 0})).has_value());                          // refusal 0
    EXPECT_FALSE(Decode(Bytes({7, 6})).has_value());                          // end reason 6
    EXPECT_FALSE(Decode(Bytes({4, 0x40, 0})).has_value());                    // key bit 6
    EXPECT_FALSE(Decode(Bytes({5, 0, 0, 0, 0, 5, 0, 0, 0})).has_value());     // tick kind 5
    EXPECT_FALSE(Decode(Bytes({5, 0, 0, 0, 0, 4, 0x10, 0, 0})).has_value());  // request bit 4
    EXPECT_FALSE(Decode(Bytes({5, 0, 0, 0, 0, 4, 0, 0, 2})).has_value());     // pause 2
    EXPECT_FALSE(Decode(Bytes({2, 0, 0, 0, 0, 3, 0})).has_value());           // tally of 3
    EXPECT_FALSE(Decode(Bytes({8, 0, 0, 0, 0, 0})).has_value());              // run of none
    EXPECT_FALSE(Decode(Bytes({8, 0, 0, 0, 0, 5, 4, 0, 0, 0, 4, 0, 0,
                               0, 4, 0, 0, 0, 4, 0, 0, 0, 4, 0, 0, 0}))
                     .has_value());  // run of five
    EXPECT_FALSE(Decode(Bytes({8, 0, 0, 0, 0, 2, 4, 0, 0, 0, 5, 0, 0, 0})).has_value());  // kind 5
    // A join code with a space, and one that claims more bytes than the limit allows.
    EXPECT_FALSE(Decode(Bytes({1, 0x42, 0x4C, 0x4B, 0x46, 1, 0, 1, '1', 2, 'A', ' '})));
    EXPECT_FALSE(
        Decode(Bytes({1,   0x42, 0x4C, 0x4B, 0x46, 1,   0,   1,   '1', 17,  'A', 'A', 'A', 'A',
                      'A', 'A',  'A',  'A',  'A',  'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A'})));
    std::vector<std::uint8_t> oversized(kMaxPacketBytes + 1, 0);
    oversized[0] = 6;
    EXPECT_FALSE(Decode(oversized).has_value());
}

}  // namespace
}  // namespace blok::net
