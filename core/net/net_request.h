#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "protocol.h"

namespace blok::net {

// A network fight asked for on the command line.
struct NetRequest {
    enum class Kind { kHost, kJoin } kind = Kind::kHost;
    std::string host;  // kJoin only
    std::uint16_t port = kDefaultPort;
    std::string code;  // as typed; empty for a host: a random one
};

// `--host [PORT] [--code CODE]` or `--join HOST[:PORT] --code CODE` (the arguments after the
// program's name); nothing for any other command line.
std::optional<NetRequest> ParseNetRequest(std::span<const std::string> arguments);

}  // namespace blok::net
