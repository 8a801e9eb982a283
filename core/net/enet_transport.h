#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

struct _ENetHost;
struct _ENetPeer;

namespace blok::net {

// Reliable, ordered datagrams to and from peers over UDP. Nothing here blocks: the owner calls
// Poll from its own loop (the window's event loop, or a test's).
class EnetTransport {
  public:
    using PeerId = std::uint32_t;

    struct Event {
        enum class Kind { kConnected, kReceived, kDisconnected };
        Kind kind = Kind::kReceived;
        PeerId peer = 0;
        std::vector<std::uint8_t> data;  // kReceived only
    };

    // Listens on `port` (0: any free port) of `bindAddress` (empty: every interface).
    static std::unique_ptr<EnetTransport> Listen(std::uint16_t port, const std::string& bindAddress,
                                                 std::string& error);
    // Starts connecting to `host` (a name or an IPv4 address); the kConnected event follows.
    static std::unique_ptr<EnetTransport> Connect(const std::string& host, std::uint16_t port,
                                                  std::string& error);
    ~EnetTransport();
    EnetTransport(const EnetTransport&) = delete;
    EnetTransport& operator=(const EnetTransport&) = delete;

    // Sends and receives what is due; returns what happened since the last call.
    std::vector<Event> Poll();
    void Send(PeerId peer, std::span<const std::uint8_t> bytes);
    // Sends what is queued for the peer, then parts from it.
    void Disconnect(PeerId peer);
    // Pushes queued packets out at once (before the program ends).
    void Flush();

    std::uint16_t LocalPort() const;
    std::string PeerAddress(PeerId peer) const;
    // The socket, for a toolkit that wants to hear when data arrives.
    int SocketDescriptor() const;

    // Packets larger than this are dropped by ENet before they reach us.
    static constexpr std::size_t kMaxIncomingBytes = 256;

  private:
    explicit EnetTransport(_ENetHost* host);
    _ENetPeer* Find(PeerId peer) const;
    PeerId Tag(_ENetPeer* peer);

    _ENetHost* host_ = nullptr;
    PeerId nextId_ = 1;
};

// Fights end when the other side has been silent this long.
inline constexpr std::uint32_t kPeerTimeoutMs = 5000;

}  // namespace blok::net
