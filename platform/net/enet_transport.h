#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "transport.h"

struct _ENetHost;
struct _ENetPeer;

namespace blok::enet {

// The sessions' datagrams over UDP, reliable and ordered by ENet.
class EnetTransport final : public net::Transport {
  public:
    // Listens on `port` (0: any free port) of `bindAddress` (empty: every interface).
    static std::unique_ptr<EnetTransport> Listen(std::uint16_t port, const std::string& bindAddress,
                                                 std::string& error);
    // Starts connecting to `host` (a name or an IPv4 address); the kConnected event follows.
    static std::unique_ptr<EnetTransport> Connect(const std::string& host, std::uint16_t port,
                                                  std::string& error);
    ~EnetTransport() override;
    EnetTransport(const EnetTransport&) = delete;
    EnetTransport& operator=(const EnetTransport&) = delete;

    std::vector<Event> Poll() override;
    void Send(PeerId peer, std::span<const std::uint8_t> bytes) override;
    void SendUnreliable(PeerId peer, std::span<const std::uint8_t> bytes) override;
    void Disconnect(PeerId peer) override;
    void Flush() override;

    std::uint16_t LocalPort() const override;
    std::string PeerAddress(PeerId peer) const override;
    int SocketDescriptor() const override;

    // Packets larger than this are dropped by ENet before they reach us.
    static constexpr std::size_t kMaxIncomingBytes = 256;

  private:
    explicit EnetTransport(_ENetHost* host);
    _ENetPeer* Find(PeerId peer) const;
    void SendOn(PeerId peer, std::span<const std::uint8_t> bytes, std::uint8_t channel,
                std::uint32_t flags);
    PeerId Tag(_ENetPeer* peer);

    _ENetHost* host_ = nullptr;
    PeerId nextId_ = 1;
};

// Opens ENet transports for the sessions.
class EnetNetwork final : public net::Network {
  public:
    std::unique_ptr<net::Transport> Listen(std::uint16_t port, const std::string& bindAddress,
                                           std::string& error) override;
    std::unique_ptr<net::Transport> Connect(const std::string& host, std::uint16_t port,
                                            std::string& error) override;
};

// Fights end when the other side has been silent this long.
inline constexpr std::uint32_t kPeerTimeoutMs = 5000;

}  // namespace blok::enet
