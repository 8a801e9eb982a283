#include "session.h"

namespace blok::net {

namespace {

constexpr std::string_view kLost = "The connection to the other player was lost.";

}  // namespace

std::string_view GameVersion() {
    return BLOKFALL_VERSION;
}

// --- both sides -----------------------------------------------------------------------------

Session::~Session() = default;

void Session::Poll(Millis now) {
    if (!transport_) return;
    for (Transport::Event& event : transport_->Poll()) {
        if (!transport_) return;  // closed by a handler of an earlier event
        switch (event.kind) {
            case Transport::Event::Kind::kConnected:
                OnConnected(event.peer, now);
                break;
            case Transport::Event::Kind::kDisconnected:
                OnDisconnected(event.peer);
                break;
            case Transport::Event::Kind::kReceived: {
                bytesReceived_ += event.data.size();
                const std::optional<Message> message = Decode(event.data);
                if (!message) {
                    Note("A malformed packet from " + Describe(event.peer) + " was dropped.");
                    break;
                }
                OnMessage(event.peer, *message);
                break;
            }
        }
    }
    if (transport_) OnTime(now);
}

void Session::Send(const Message& message) {
    if (peer_ != 0) SendTo(peer_, message);
}

void Session::SendTo(Transport::PeerId peer, const Message& message) {
    if (!transport_) return;
    const std::vector<std::uint8_t> bytes = Encode(message);
    bytesSent_ += bytes.size();
    transport_->Send(peer, bytes);
    // Out at once, not at the next poll: a tick or a key is late enough by the network alone.
    transport_->Flush();
}

void Session::SendUnreliable(const Message& message) {
    if (peer_ == 0 || !transport_) return;
    const std::vector<std::uint8_t> bytes = Encode(message);
    bytesSent_ += bytes.size();
    transport_->SendUnreliable(peer_, bytes);
    transport_->Flush();
}

void Session::Start(const Welcome& welcome) {
    playing_ = true;
    if (events_.started) events_.started(welcome);
}

void Session::Finish(EndReason reason) {
    if (over_) return;
    over_ = true;
    playing_ = false;
    Send(End{reason});
    if (transport_ && peer_ != 0) {
        transport_->Disconnect(peer_);
        transport_->Flush();  // the owner may drop the session soon
    }
}

void Session::Close(EndReason reason) {
    Finish(reason);
    if (transport_) transport_->Flush();
    transport_.reset();
}

void Session::Abandon(EndReason reason) {
    if (over_) return;
    Finish(reason);
    if (events_.ended) events_.ended(EndText(reason));
}

void Session::EndWith(std::string_view why) {
    if (over_) return;
    over_ = true;
    playing_ = false;
    if (transport_ && peer_ != 0) transport_->Disconnect(peer_);
    if (events_.ended) events_.ended(why);
}

void Session::Note(std::string_view what) const {
    if (events_.note) events_.note(what);
}

std::string Session::Describe(Transport::PeerId peer) const {
    const std::string address = transport_ ? transport_->PeerAddress(peer) : std::string{};
    return address.empty() ? std::string("an unknown machine") : address;
}

// --- the host -------------------------------------------------------------------------------

bool HostSession::Listen(Network& network, std::uint16_t port, const std::string& bindAddress,
                         std::string code, std::string& error) {
    code_ = std::move(code);
    transport_ = network.Listen(port, bindAddress, error);
    return transport_ != nullptr;
}

void HostSession::SendTick(const Tick& tick) {
    Send(tick);
    latest_.push_back(tick);
    while (latest_.size() > kMaxRunTicks) latest_.pop_front();
    SendUnreliable(TickRun{std::vector<Tick>(latest_.begin(), latest_.end())});
}

void HostSession::SendHash(const StateHash& hash) {
    hashes_[hash.number] = hash.hash;
    while (hashes_.size() > kKeptHashes) hashes_.erase(hashes_.begin());
    Send(hash);
}

Keys HostSession::TakeKeys() {
    const Keys keys = keys_;
    keys_.pressed = 0;
    return keys;
}

void HostSession::OnConnected(Transport::PeerId peer, Millis now) {
    waiting_[peer] = now;
}

void HostSession::OnMessage(Transport::PeerId peer, const Message& message) {
    if (peer != peer_) {
        // Only a hello is welcome from a machine that has not joined.
        if (const Hello* hello = std::get_if<Hello>(&message)) {
            Admit(peer, *hello);
        } else {
            Note("A packet out of turn from " + Describe(peer) + " was refused.");
            Refuse(peer, Refusal::kNotAHello);
        }
        return;
    }
    if (over_) return;
    if (const Keys* keys = std::get_if<Keys>(&message)) {
        keys_.pressed |= keys->pressed;
        keys_.held = keys->held;
    } else if (const StateHash* hash = std::get_if<StateHash>(&message)) {
        CheckJoinerHash(*hash);
    } else if (const End* end = std::get_if<End>(&message)) {
        EndWith(EndText(end->reason));
    } else {
        Note("A repeated or misplaced handshake packet from " + Describe(peer) + " was dropped.");
    }
}

void HostSession::Admit(Transport::PeerId peer, const Hello& hello) {
    waiting_.erase(peer);
    if (hello.magic != kMagic) return Refuse(peer, Refusal::kNotAHello);
    if (hello.protocol != kProtocolVersion || hello.gameVersion != GameVersion()) {
        Note("A player with another version of Blokfall was refused.");
        return Refuse(peer, Refusal::kWrongVersion);
    }
    if (peer_ != 0 || over_) return Refuse(peer, Refusal::kBusy);
    if (hello.joinCode != code_) {
        Note("A player with a wrong join code was refused.");
        return Refuse(peer, Refusal::kWrongCode);
    }
    peer_ = peer;
    const Welcome welcome = welcome_();
    Send(welcome);
    Start(welcome);
}

void HostSession::Refuse(Transport::PeerId peer, Refusal reason) {
    SendTo(peer, net::Refuse{reason});
    if (transport_) transport_->Disconnect(peer);
}

void HostSession::CheckJoinerHash(const StateHash& hash) {
    const auto own = hashes_.find(hash.number);
    if (own == hashes_.end() || own->second == hash.hash) return;
    Abandon(EndReason::kDesync);
}

void HostSession::OnDisconnected(Transport::PeerId peer) {
    waiting_.erase(peer);
    if (peer == peer_) EndWith(kLost);
}

void HostSession::OnTime(Millis now) {
    for (auto it = waiting_.begin(); it != waiting_.end();) {
        if (now - it->second < kHandshakeTimeoutMs) {
            ++it;
            continue;
        }
        Note("A machine that never said hello was sent away.");
        transport_->Disconnect(it->first);
        it = waiting_.erase(it);
    }
}

// --- the joiner -----------------------------------------------------------------------------

bool JoinSession::Connect(Network& network, const std::string& host, std::uint16_t port,
                          std::string code, Millis now, std::string& error) {
    if (!IsValidText(code, kMaxJoinCode)) {
        error = "A join code is one word of at most 16 letters and digits.";
        return false;
    }
    code_ = std::move(code);
    where_ = host + ":" + std::to_string(port);
    deadline_ = now + kHandshakeTimeoutMs;
    transport_ = network.Connect(host, port, error);
    return transport_ != nullptr;
}

void JoinSession::OnConnected(Transport::PeerId peer, Millis) {
    peer_ = peer;
    Send(Hello{kMagic, kProtocolVersion, std::string(GameVersion()), code_});
}

void JoinSession::OnMessage(Transport::PeerId peer, const Message& message) {
    if (peer != peer_ || over_) return;
    if (const TickRun* run = std::get_if<TickRun>(&message)) {
        // May overtake the welcome; the ordered stream brings those ticks too.
        if (playing_) {
            for (const Tick& tick : run->ticks) TakeTick(tick);
        }
        return;
    }
    if (const Welcome* welcome = std::get_if<Welcome>(&message)) {
        if (playing_) {
            Note("A repeated welcome from the host was dropped.");
            return;
        }
        Start(*welcome);
    } else if (const net::Refuse* refuse = std::get_if<net::Refuse>(&message)) {
        if (!playing_) EndWith(RefusalText(refuse->reason));
    } else if (const End* end = std::get_if<End>(&message)) {
        EndWith(EndText(end->reason));
    } else if (!playing_) {
        Abandon(EndReason::kProtocolError);
    } else if (const Tick* tick = std::get_if<Tick>(&message)) {
        // The ordered stream never skips a tick: one beyond the next is a broken peer.
        if (tick->number > nextTick_) return Abandon(EndReason::kProtocolError);
        TakeTick(*tick);
    } else if (const StateHash* hash = std::get_if<StateHash>(&message)) {
        if (events_.hash) events_.hash(*hash);
    } else {
        Note("A packet meant for the host was dropped.");
    }
}

void JoinSession::TakeTick(const Tick& tick) {
    // Earlier ones were played already; later ones wait for the packets that fill the gap.
    if (tick.number != nextTick_ || over_) return;
    ++nextTick_;
    if (events_.tick) events_.tick(tick);
}

void JoinSession::OnDisconnected(Transport::PeerId peer) {
    if (peer != peer_) return;
    EndWith(playing_ ? kLost : "No answer from " + where_ + ".");
}

void JoinSession::OnTime(Millis now) {
    if (!playing_ && !over_ && now >= deadline_) EndWith("No answer from " + where_ + ".");
}

}  // namespace blok::net
