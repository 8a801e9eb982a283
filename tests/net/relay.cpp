#include <arpa/inet.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <stdexcept>

#include "fight_rig.h"

namespace blok::net::testing {

namespace {

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

int OpenSocket() {
    const int s = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    if (s < 0) throw std::runtime_error("no UDP socket");
    const sockaddr_in any = Loopback(0);
    if (bind(s, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
        close(s);
        throw std::runtime_error("cannot bind to 127.0.0.1");
    }
    return s;
}

}  // namespace

Relay::Relay(std::uint16_t hostPort, Impairment impairment, std::uint32_t seed)
    : impairment_(impairment), random_(seed) {
    front_ = OpenSocket();
    back_ = OpenSocket();
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    getsockname(front_, reinterpret_cast<sockaddr*>(&bound), &length);
    frontPort_ = ntohs(bound.sin_port);
    const sockaddr_in host = Loopback(hostPort);
    connect(back_, reinterpret_cast<const sockaddr*>(&host), sizeof host);
}

Relay::~Relay() {
    close(front_);
    close(back_);
}

void Relay::Receive(int socket, bool toHost) {
    std::array<std::uint8_t, 2048> buffer{};
    for (;;) {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t got = recvfrom(socket, buffer.data(), buffer.size(), 0,
                                     reinterpret_cast<sockaddr*>(&from), &length);
        if (got < 0) return;
        if (toHost) {
            joiner_ = from;
            joinerKnown_ = true;
        }
        Traffic& traffic = toHost ? sentToHost : sentToJoiner;
        ++traffic.datagrams;
        traffic.bytes += static_cast<std::uint64_t>(got);
        if (std::uniform_real_distribution<double>(0, 1)(random_) < impairment_.loss) continue;
        const int jitter = impairment_.jitterMs > 0 ? std::uniform_int_distribution<int>(
                                                          0, impairment_.jitterMs)(random_)
                                                    : 0;
        queue_.push({NowMs() + impairment_.oneWayDelayMs + jitter, toHost,
                     std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + got)});
    }
}

void Relay::Pump() {
    Receive(front_, true);
    Receive(back_, false);
    const Millis now = NowMs();
    while (!queue_.empty() && queue_.top().due <= now) {
        const Datagram& d = queue_.top();
        if (d.toHost) {
            send(back_, d.bytes.data(), d.bytes.size(), 0);
        } else if (joinerKnown_) {
            sendto(front_, d.bytes.data(), d.bytes.size(), 0,
                   reinterpret_cast<const sockaddr*>(&joiner_), sizeof joiner_);
        }
        queue_.pop();
    }
}

}  // namespace blok::net::testing
