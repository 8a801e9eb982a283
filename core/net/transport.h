#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace blok::net {

// Reliable, ordered datagrams to and from peers, and unreliable ones beside them. Nothing here
// blocks: the owner calls Poll from its own loop (the window's event loop, or a test's).
class Transport {
  public:
    using PeerId = std::uint32_t;

    struct Event {
        enum class Kind { kConnected, kReceived, kDisconnected };
        Kind kind = Kind::kReceived;
        PeerId peer = 0;
        std::vector<std::uint8_t> data;  // kReceived only
    };

    virtual ~Transport() = default;

    // Sends and receives what is due; returns what happened since the last call.
    virtual std::vector<Event> Poll() = 0;
    virtual void Send(PeerId peer, std::span<const std::uint8_t> bytes) = 0;
    // Sends once, beside the ordered stream: it may be lost, come twice or overtake.
    virtual void SendUnreliable(PeerId peer, std::span<const std::uint8_t> bytes) = 0;
    // Sends what is queued for the peer, then parts from it.
    virtual void Disconnect(PeerId peer) = 0;
    // Pushes queued packets out at once (before the program ends).
    virtual void Flush() = 0;

    virtual std::uint16_t LocalPort() const = 0;
    virtual std::string PeerAddress(PeerId peer) const = 0;
    // The socket, for a toolkit that wants to hear when data arrives.
    virtual int SocketDescriptor() const = 0;
};

// Opens transports for the sessions: the program chooses what carries the datagrams.
class Network {
  public:
    virtual ~Network() = default;
    // Listens on `port` (0: any free port) of `bindAddress` (empty: every interface).
    virtual std::unique_ptr<Transport> Listen(std::uint16_t port, const std::string& bindAddress,
                                              std::string& error) = 0;
    // Starts connecting to `host` (a name or an IP address); the kConnected event follows.
    virtual std::unique_ptr<Transport> Connect(const std::string& host, std::uint16_t port,
                                               std::string& error) = 0;
};

}  // namespace blok::net
