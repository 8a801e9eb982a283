#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "protocol.h"
#include "transport.h"

namespace blok::net {

using Millis = std::int64_t;

// Own hashes kept for the other side's answer; far more than a resend can lag behind.
inline constexpr std::size_t kKeptHashes = 64;

// A handshake that has not completed by then is given up.
inline constexpr Millis kHandshakeTimeoutMs = 5000;

// What a session tells the program around it.
struct SessionEvents {
    std::function<void(const Welcome&)> started;  // the fight begins
    std::function<void(const Tick&)> tick;        // joiner: the host's next tick
    std::function<void(const StateHash&)> hash;   // joiner: the host's hash after a tick
    std::function<void(std::string_view)> ended;  // the fight or the attempt is over: why
    std::function<void(std::string_view)> note;   // something was dropped or refused
};

// The part both sides share: one peer, the end of the fight, the byte counts.
class Session {
  public:
    explicit Session(SessionEvents events) : events_(std::move(events)) {}
    virtual ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Handles whatever the network delivered; `now` drives the handshake deadline.
    void Poll(Millis now);
    bool Playing() const { return playing_; }
    bool Over() const { return over_; }
    // Tells the other side why the fight ends (unless it has ended already) and parts.
    void Finish(EndReason reason);
    // Parts at once, as when the program ends: the reason is pushed out before the socket goes.
    void Close(EndReason reason);
    // Ends the fight here and there, and tells the player here why.
    void Abandon(EndReason reason);

    std::uint64_t BytesSent() const { return bytesSent_; }
    std::uint64_t BytesReceived() const { return bytesReceived_; }
    int SocketDescriptor() const { return transport_ ? transport_->SocketDescriptor() : -1; }

  protected:
    void Send(const Message& message);
    void SendTo(Transport::PeerId peer, const Message& message);
    // Beside the ordered stream, to the other player: it may be lost, repeated or early.
    void SendUnreliable(const Message& message);
    void Start(const Welcome& welcome);
    // The fight is over for a reason the player is told about.
    void EndWith(std::string_view why);
    void Note(std::string_view what) const;
    std::string Describe(Transport::PeerId peer) const;

    virtual void OnConnected(Transport::PeerId peer, Millis now) = 0;
    virtual void OnMessage(Transport::PeerId peer, const Message& message) = 0;
    virtual void OnDisconnected(Transport::PeerId peer) = 0;
    virtual void OnTime(Millis now) = 0;

    SessionEvents events_;
    std::unique_ptr<Transport> transport_;
    Transport::PeerId peer_ = 0;  // the other player, once known
    bool playing_ = false;
    bool over_ = false;

  private:
    std::uint64_t bytesSent_ = 0;
    std::uint64_t bytesReceived_ = 0;
};

// The hosting side: listens, admits one joiner with the right code, streams the ticks.
class HostSession final : public Session {
  public:
    using WelcomeMaker = std::function<Welcome()>;

    HostSession(SessionEvents events, WelcomeMaker welcome)
        : Session(std::move(events)), welcome_(std::move(welcome)) {}
    bool Listen(Network& network, std::uint16_t port, const std::string& bindAddress,
                std::string code, std::string& error);
    std::uint16_t Port() const { return transport_ ? transport_->LocalPort() : 0; }

    // Sends the tick on the ordered stream, and the latest ticks again beside it.
    void SendTick(const Tick& tick);
    // Sends the host's hash after a tick and keeps it for the joiner's answer.
    void SendHash(const StateHash& hash);
    // The joiner's keys pressed since the last call, and those it holds now.
    Keys TakeKeys();

  private:
    void OnConnected(Transport::PeerId peer, Millis now) override;
    void OnMessage(Transport::PeerId peer, const Message& message) override;
    void OnDisconnected(Transport::PeerId peer) override;
    void OnTime(Millis now) override;
    void Admit(Transport::PeerId peer, const Hello& hello);
    void Refuse(Transport::PeerId peer, Refusal reason);
    void CheckJoinerHash(const StateHash& hash);

    WelcomeMaker welcome_;
    std::string code_;
    std::map<Transport::PeerId, Millis> waiting_;    // connected, no hello yet: since when
    std::map<std::uint32_t, std::uint64_t> hashes_;  // own hashes the joiner may still answer
    std::deque<Tick> latest_;                        // the ticks sent last, oldest first
    Keys keys_;
};

// The joining side: connects, says hello, then follows the host's ticks.
class JoinSession final : public Session {
  public:
    using Session::Session;
    bool Connect(Network& network, const std::string& host, std::uint16_t port, std::string code,
                 Millis now, std::string& error);

    void SendKeys(const Keys& keys) { Send(keys); }
    void SendHash(const StateHash& hash) { Send(hash); }

  private:
    void OnConnected(Transport::PeerId peer, Millis now) override;
    void OnMessage(Transport::PeerId peer, const Message& message) override;
    void OnDisconnected(Transport::PeerId peer) override;
    void OnTime(Millis now) override;
    // Passes the host's ticks on in order, each once, from whichever packet brings it first.
    void TakeTick(const Tick& tick);

    std::string code_;
    std::string where_;
    Millis deadline_ = 0;
    std::uint32_t nextTick_ = 0;
};

// The game version both sides must share.
std::string_view GameVersion();

}  // namespace blok::net
