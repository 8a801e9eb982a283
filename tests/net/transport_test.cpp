#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "enet_transport.h"

namespace blok::net {
namespace {

using Event = Transport::Event;

// Polls both ends until `done` holds for what `watched` reported, at most five seconds.
template <typename Done>
std::vector<Event> PollUntil(Transport& watched, Transport& other, Done done) {
    std::vector<Event> seen;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done(seen) && std::chrono::steady_clock::now() < deadline) {
        for (Event& event : watched.Poll()) seen.push_back(std::move(event));
        other.Poll();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return seen;
}

bool Has(const std::vector<Event>& events, Event::Kind kind) {
    for (const Event& event : events) {
        if (event.kind == kind) return true;
    }
    return false;
}

// The datagrams go through the network library the program is built with, on 127.0.0.1.
TEST(EnetTransport, ConnectsCarriesBytesBothWaysAndParts) {
    std::string error;
    auto host = enet::EnetTransport::Listen(0, "127.0.0.1", error);
    ASSERT_TRUE(host) << error;
    ASSERT_NE(host->LocalPort(), 0);
    auto join = enet::EnetTransport::Connect("127.0.0.1", host->LocalPort(), error);
    ASSERT_TRUE(join) << error;

    const auto hostSaw = PollUntil(
        *host, *join, [](const auto& events) { return Has(events, Event::Kind::kConnected); });
    ASSERT_TRUE(Has(hostSaw, Event::Kind::kConnected));
    const Transport::PeerId joiner = hostSaw.front().peer;
    EXPECT_EQ(host->PeerAddress(joiner).rfind("127.0.0.1:", 0), 0u) << host->PeerAddress(joiner);

    const std::vector<std::uint8_t> ping = {1, 2, 3, 250};
    host->Send(joiner, ping);
    const auto joinSaw = PollUntil(
        *join, *host, [](const auto& events) { return Has(events, Event::Kind::kReceived); });
    ASSERT_TRUE(Has(joinSaw, Event::Kind::kReceived));
    const Event& received = joinSaw.back();
    EXPECT_EQ(received.data, ping);

    const std::vector<std::uint8_t> pong = {9, 8};
    join->Send(received.peer, pong);
    const auto answer = PollUntil(
        *host, *join, [](const auto& events) { return Has(events, Event::Kind::kReceived); });
    ASSERT_TRUE(Has(answer, Event::Kind::kReceived));
    EXPECT_EQ(answer.back().data, pong);

    // Larger than any packet of the game: dropped on arrival, and the link stays up.
    join->Send(received.peer,
               std::vector<std::uint8_t>(enet::EnetTransport::kMaxIncomingBytes + 1));
    join->Disconnect(received.peer);
    const auto parted = PollUntil(
        *host, *join, [](const auto& events) { return Has(events, Event::Kind::kDisconnected); });
    EXPECT_TRUE(Has(parted, Event::Kind::kDisconnected));
    EXPECT_FALSE(Has(parted, Event::Kind::kReceived));
}

TEST(EnetTransport, APortInUseIsRefusedWithAMessage) {
    std::string error;
    auto first = enet::EnetTransport::Listen(0, "127.0.0.1", error);
    ASSERT_TRUE(first) << error;
    auto second = enet::EnetTransport::Listen(first->LocalPort(), "127.0.0.1", error);
    EXPECT_FALSE(second);
    EXPECT_NE(error.find(std::to_string(first->LocalPort())), std::string::npos) << error;
}

}  // namespace
}  // namespace blok::net
