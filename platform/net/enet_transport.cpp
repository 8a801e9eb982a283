#include "enet_transport.h"

#include <enet/enet.h>

#include <array>
#include <cstring>

namespace blok::enet {

namespace {

// The ordered stream, and the packets that are sent once beside it.
constexpr std::size_t kChannels = 2;
constexpr enet_uint8 kOrderedChannel = 0;
constexpr enet_uint8 kUnreliableChannel = 1;
constexpr std::size_t kMaxPeers = 4;  // room to tell a second joiner that the game is full

// ENet keeps global state; it is set up once and torn down at exit.
bool InitialiseOnce(std::string& error) {
    static const bool ok = [] {
        if (enet_initialize() != 0) return false;
        std::atexit(enet_deinitialize);
        return true;
    }();
    if (!ok) error = "The network library could not be started.";
    return ok;
}

bool Resolve(const std::string& host, std::uint16_t port, ENetAddress& address,
             std::string& error) {
    address.port = port;
    if (host.empty()) {
        address.host = ENET_HOST_ANY;
        return true;
    }
    if (enet_address_set_host_ip(&address, host.c_str()) == 0) return true;
    if (enet_address_set_host(&address, host.c_str()) == 0) return true;
    error = "The address \"" + host + "\" was not found.";
    return false;
}

std::uintptr_t IdOf(const ENetPeer* peer) {
    return reinterpret_cast<std::uintptr_t>(peer->data);
}

}  // namespace

EnetTransport::EnetTransport(ENetHost* host) : host_(host) {
    host_->maximumPacketSize = kMaxIncomingBytes;
}

EnetTransport::~EnetTransport() {
    if (host_) enet_host_destroy(host_);
}

std::unique_ptr<EnetTransport> EnetTransport::Listen(std::uint16_t port,
                                                     const std::string& bindAddress,
                                                     std::string& error) {
    ENetAddress address{};
    if (!InitialiseOnce(error) || !Resolve(bindAddress, port, address, error)) return nullptr;
    ENetHost* host = enet_host_create(&address, kMaxPeers, kChannels, 0, 0);
    if (host == nullptr) {
        error = "Port " + std::to_string(port) + " cannot be opened (is it in use?).";
        return nullptr;
    }
    return std::unique_ptr<EnetTransport>(new EnetTransport(host));
}

std::unique_ptr<EnetTransport> EnetTransport::Connect(const std::string& host, std::uint16_t port,
                                                      std::string& error) {
    ENetAddress address{};
    if (!InitialiseOnce(error)) return nullptr;
    if (host.empty()) {
        error = "No host was given.";
        return nullptr;
    }
    if (!Resolve(host, port, address, error)) return nullptr;
    ENetHost* local = enet_host_create(nullptr, 1, kChannels, 0, 0);
    if (local == nullptr) {
        error = "No network socket could be opened.";
        return nullptr;
    }
    std::unique_ptr<EnetTransport> transport(new EnetTransport(local));
    ENetPeer* peer = enet_host_connect(local, &address, kChannels, 0);
    if (peer == nullptr) {
        error = "The connection could not be started.";
        return nullptr;
    }
    transport->Tag(peer);
    enet_peer_timeout(peer, 0, kPeerTimeoutMs, kPeerTimeoutMs);
    return transport;
}

EnetTransport::PeerId EnetTransport::Tag(ENetPeer* peer) {
    if (peer->data == nullptr) peer->data = reinterpret_cast<void*>(std::uintptr_t{nextId_++});
    return static_cast<PeerId>(IdOf(peer));
}

ENetPeer* EnetTransport::Find(PeerId peer) const {
    for (std::size_t i = 0; i < host_->peerCount; ++i) {
        ENetPeer* candidate = &host_->peers[i];
        if (candidate->data != nullptr && IdOf(candidate) == peer &&
            candidate->state != ENET_PEER_STATE_DISCONNECTED) {
            return candidate;
        }
    }
    return nullptr;
}

std::vector<net::Transport::Event> EnetTransport::Poll() {
    std::vector<Event> events;
    ENetEvent event;
    while (enet_host_service(host_, &event, 0) > 0) {
        switch (event.type) {
            case ENET_EVENT_TYPE_CONNECT:
                enet_peer_timeout(event.peer, 0, kPeerTimeoutMs, kPeerTimeoutMs);
                events.push_back({Event::Kind::kConnected, Tag(event.peer), {}});
                break;
            case ENET_EVENT_TYPE_RECEIVE: {
                const auto* data = static_cast<const std::uint8_t*>(event.packet->data);
                events.push_back(
                    {Event::Kind::kReceived, Tag(event.peer),
                     std::vector<std::uint8_t>(data, data + event.packet->dataLength)});
                enet_packet_destroy(event.packet);
                break;
            }
            case ENET_EVENT_TYPE_DISCONNECT:
                events.push_back({Event::Kind::kDisconnected, Tag(event.peer), {}});
                event.peer->data = nullptr;
                break;
            case ENET_EVENT_TYPE_NONE:
                break;
        }
    }
    return events;
}

void EnetTransport::Send(PeerId peer, std::span<const std::uint8_t> bytes) {
    SendOn(peer, bytes, kOrderedChannel, ENET_PACKET_FLAG_RELIABLE);
}

void EnetTransport::SendUnreliable(PeerId peer, std::span<const std::uint8_t> bytes) {
    SendOn(peer, bytes, kUnreliableChannel, ENET_PACKET_FLAG_UNSEQUENCED);
}

void EnetTransport::SendOn(PeerId peer, std::span<const std::uint8_t> bytes, std::uint8_t channel,
                           std::uint32_t flags) {
    ENetPeer* target = Find(peer);
    if (target == nullptr) return;
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), flags);
    if (packet == nullptr) return;
    if (enet_peer_send(target, channel, packet) != 0) enet_packet_destroy(packet);
}

void EnetTransport::Disconnect(PeerId peer) {
    if (ENetPeer* target = Find(peer)) enet_peer_disconnect_later(target, 0);
}

void EnetTransport::Flush() {
    enet_host_flush(host_);
}

std::uint16_t EnetTransport::LocalPort() const {
    ENetAddress address{};
    if (enet_socket_get_address(host_->socket, &address) != 0) return 0;
    return address.port;
}

std::string EnetTransport::PeerAddress(PeerId peer) const {
    const ENetPeer* target = Find(peer);
    if (target == nullptr) return {};
    std::array<char, 64> ip{};
    if (enet_address_get_host_ip(&target->address, ip.data(), ip.size()) != 0) return {};
    return std::string(ip.data()) + ":" + std::to_string(target->address.port);
}

int EnetTransport::SocketDescriptor() const {
    return static_cast<int>(host_->socket);
}

std::unique_ptr<net::Transport> EnetNetwork::Listen(std::uint16_t port,
                                                    const std::string& bindAddress,
                                                    std::string& error) {
    return EnetTransport::Listen(port, bindAddress, error);
}

std::unique_ptr<net::Transport> EnetNetwork::Connect(const std::string& host, std::uint16_t port,
                                                     std::string& error) {
    return EnetTransport::Connect(host, port, error);
}

}  // namespace blok::enet
