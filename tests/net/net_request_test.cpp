#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net_request.h"

namespace blok::net {
namespace {

std::optional<NetRequest> Parse(std::vector<std::string> arguments) {
    return ParseNetRequest(arguments);
}

TEST(NetRequest, HostAndJoinTakeTheirPortsAndCodes) {
    const auto plain = Parse({"--host"});
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->kind, NetRequest::Kind::kHost);
    EXPECT_EQ(plain->port, kDefaultPort);
    EXPECT_EQ(plain->code, "");

    const auto host = Parse({"--host", "51001", "--code", "abc123"});
    ASSERT_TRUE(host);
    EXPECT_EQ(host->port, 51001);
    EXPECT_EQ(host->code, "abc123");
    EXPECT_EQ(Parse({"--host", "--code", "X"})->port, kDefaultPort);

    const auto join = Parse({"--join", "127.0.0.1:65535", "--code", "E2E"});
    ASSERT_TRUE(join);
    EXPECT_EQ(join->kind, NetRequest::Kind::kJoin);
    EXPECT_EQ(join->host, "127.0.0.1");
    EXPECT_EQ(join->port, 65535);
    EXPECT_EQ(join->code, "E2E");
    const auto named = Parse({"--join", "game.example", "--code", "E2E"});
    ASSERT_TRUE(named);
    EXPECT_EQ(named->host, "game.example");
    EXPECT_EQ(named->port, kDefaultPort);
}

TEST(NetRequest, AnythingElseIsRefused) {
    const std::vector<std::vector<std::string>> refused = {
        {},
        {"--help-viewer", "x"},
        {"--host", "0"},
        {"--host", "65536"},
        {"--host", "12ab"},
        {"--host", "-5"},
        {"--host", "24642", "extra"},
        {"--host", "--code"},
        {"--host", "--code", "has space"},
        {"--host", "--code", "SEVENTEENLETTERSX"},
        {"--join"},
        {"--join", "127.0.0.1"},
        {"--join", "127.0.0.1:", "--code", "E2E"},
        {"--join", "127.0.0.1:99999", "--code", "E2E"},
        {"--join", "127.0.0.1", "--code", ""},
        {"--join", "127.0.0.1", "--code", "E2E", "--code", "E2E"},
    };
    for (const auto& arguments : refused) {
        std::string line;
        for (const auto& argument : arguments) line += argument + " ";
        EXPECT_FALSE(Parse(arguments)) << line;
    }
}

}  // namespace
}  // namespace blok::net
