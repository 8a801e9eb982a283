#include "net_request.h"

#include <charconv>
#include <string_view>

namespace blok::net {

namespace {

std::optional<std::uint16_t> ParsePort(std::string_view text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end || value == 0 || value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

bool IsOption(const std::string& argument) {
    return argument.starts_with("--");
}

}  // namespace

std::optional<NetRequest> ParseNetRequest(std::span<const std::string> arguments) {
    if (arguments.empty()) return std::nullopt;
    NetRequest request;
    std::span<const std::string> rest = arguments.subspan(1);
    if (arguments.front() == "--host") {
        request.kind = NetRequest::Kind::kHost;
        if (!rest.empty() && !IsOption(rest.front())) {
            const auto port = ParsePort(rest.front());
            if (!port) return std::nullopt;
            request.port = *port;
            rest = rest.subspan(1);
        }
    } else if (arguments.front() == "--join" && !rest.empty()) {
        request.kind = NetRequest::Kind::kJoin;
        const std::string& where = rest.front();
        const std::size_t colon = where.rfind(':');
        request.host = where.substr(0, colon);
        if (colon != std::string::npos) {
            const auto port = ParsePort(std::string_view(where).substr(colon + 1));
            if (!port) return std::nullopt;
            request.port = *port;
        }
        rest = rest.subspan(1);
    } else {
        return std::nullopt;
    }
    if (rest.size() == 2 && rest.front() == "--code") {
        if (!IsValidText(rest.back(), kMaxJoinCode)) return std::nullopt;
        request.code = rest.back();
        rest = {};
    }
    if (request.kind == NetRequest::Kind::kJoin && request.code.empty()) return std::nullopt;
    if (!rest.empty()) return std::nullopt;
    return request;
}

}  // namespace blok::net
