#include "net_fight.h"

#include <random>
#include <utility>

namespace blok::net {

namespace {

constexpr std::string_view kCaption = "Network Fight";

// Each player steers with the one-player keys on their own machine (as bound there).
constexpr int kLeft = kKeyLeft & 0xFF, kRight = kKeyRight & 0xFF, kTurn = kKeyUp & 0xFF,
              kDown = kKeyDown & 0xFF, kPause = kKeyP & 0xFF;

TickKind ToNet(TickRoute::Kind kind) {
    switch (kind) {
        case TickRoute::Kind::kStart:
            return TickKind::kStart;
        case TickRoute::Kind::kGravity:
            return TickKind::kGravity;
        case TickRoute::Kind::kSpeedUp:
            return TickKind::kSpeedUp;
        case TickRoute::Kind::kInput:
            break;
    }
    return TickKind::kInput;
}

std::uint32_t FreshSeed() {
    return std::random_device{}();
}

}  // namespace

std::string MakeJoinCode(std::uint32_t seed) {
    static constexpr std::string_view kSymbols = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    std::mt19937 random(seed);
    std::string code;
    for (int i = 0; i < 6; ++i) code += kSymbols[random() % kSymbols.size()];
    return code;
}

NetFight::NetFight(GameShell& shell, Platform& platform, Network& network,
                   std::function<Millis()> clock)
    : shell_(shell), platform_(platform), network_(network), clock_(std::move(clock)) {
    shell_.SetTickRoute(this);
}

NetFight::~NetFight() {
    Close();
    shell_.SetTickRoute(nullptr);
}

SessionEvents NetFight::Events() {
    SessionEvents events;
    events.started = [this](const Welcome&) { Started(); };
    events.ended = [this](std::string_view why) { Ended(why); };
    events.note = [this](std::string_view what) {
        if (callbacks_.note) callbacks_.note(what);
    };
    events.tick = [this](const Tick&) {
        if (join_ && join_->RepaintDue()) platform_.InvalidateAll();
    };
    return events;
}

bool NetFight::Host(std::uint16_t port, const std::string& code, std::string& error,
                    const std::string& bindAddress) {
    if (stage_ != Stage::kIdle) {
        error = "A network fight is already being set up.";
        return false;
    }
    auto host = std::make_unique<HostFight>(shell_.game(), Events(), FreshSeed);
    if (!host->Listen(network_, port, bindAddress, code, error)) return false;
    host_ = std::move(host);
    stage_ = Stage::kHosting;
    return true;
}

bool NetFight::Join(const std::string& host, std::uint16_t port, const std::string& code,
                    std::string& error) {
    if (stage_ != Stage::kIdle) {
        error = "A network fight is already being set up.";
        return false;
    }
    auto join = std::make_unique<JoinFight>(shell_.game(), Events());
    if (!join->Connect(network_, host, port, code, clock_(), error)) return false;
    join_ = std::move(join);
    stage_ = Stage::kJoining;
    lastHeld_ = 0;
    return true;
}

Session* NetFight::CurrentSession() const {
    if (host_) return &host_->Session();
    if (join_) return &join_->Session();
    return nullptr;
}

Lockstep* NetFight::Steps() const {
    if (host_) return host_->Steps();
    if (join_) return join_->Steps();
    return nullptr;
}

void NetFight::Cancel() {
    if (stage_ == Stage::kFighting) return;
    if (Session* session = CurrentSession()) session->Close(EndReason::kQuitGame);
    Reset();
}

void NetFight::Close() {
    if (Session* session = CurrentSession()) session->Close(EndReason::kWindowClosed);
    Reset();
}

void NetFight::Reset() {
    if (Session* session = CurrentSession()) {
        bytesSent_ += session->BytesSent();
        bytesReceived_ += session->BytesReceived();
    }
    if (host_) oldHosts_.push_back(std::move(host_));
    if (join_) oldJoins_.push_back(std::move(join_));
    stage_ = Stage::kIdle;
    awayPending_ = false;
}

void NetFight::Service() {
    // Ended sessions go once no handler of theirs can be running below this call.
    if (depth_ == 0) {
        oldHosts_.clear();
        oldJoins_.clear();
    }
    ++depth_;
    if (Session* session = CurrentSession()) session->Poll(clock_());
    if (stage_ == Stage::kFighting && join_) SendJoinerKeys();
    NoticeFightEnd();
    --depth_;
}

bool NetFight::NeedsService() const {
    return stage_ != Stage::kIdle || !oldHosts_.empty() || !oldJoins_.empty();
}

void NetFight::Started() {
    stage_ = Stage::kFighting;
    // The joiner shows the host's ticks once its own window has started the game.
    if (join_) join_->Hold(true);
    shell_.StartPreparedGame();
    if (callbacks_.started) callbacks_.started();
}

void NetFight::Ended(std::string_view why) {
    const bool fighting = stage_ == Stage::kFighting;
    const bool inFight = fighting && shell_.game().iGameStatus == kStatusFaceToFace;
    Reset();
    if (!fighting) {
        if (callbacks_.failed) callbacks_.failed(why);
        return;
    }
    if (!inFight) return;  // decided already: both players have seen the result
    shell_.game().iGameStatus = kStatusTitlePending;
    platform_.InvalidateAll();
    if (!why.empty()) platform_.ShowMessage(why, kCaption);
}

void NetFight::SendJoinerKeys() {
    std::uint8_t pressed = 0, held = 0;
    const std::pair<int, std::uint8_t> keys[] = {{kLeft, kReqLeft},
                                                 {kRight, kReqRight},
                                                 {kTurn, kReqTurn},
                                                 {kDown, kReqDown},
                                                 {kPause, kKeyPause}};
    for (const auto& [key, bit] : keys) {
        if (shell_.PlayerPressed(key)) pressed |= bit;
        if (shell_.PlayerHeld(key, false)) held |= bit;  // read far more often than a tick
    }
    if (std::exchange(awayPending_, false)) pressed |= kKeyAway;
    if (pressed == 0 && held == lastHeld_) return;
    lastHeld_ = held;
    join_->SendKeys({pressed, held});
}

void NetFight::NoticeFightEnd() {
    if (stage_ != Stage::kFighting) return;
    Session* session = CurrentSession();
    const Lockstep* steps = Steps();
    if (session == nullptr || (steps != nullptr && steps->InTick())) return;
    if (session->Over()) return Reset();  // decided by the rules, on both sides
    // Outside a tick only the player leaves the fight: "Quit Game".
    if (shell_.game().iGameStatus == kStatusFaceToFace) return;
    session->Finish(EndReason::kQuitGame);
    Reset();
}

bool NetFight::Active() const {
    if (stage_ != Stage::kFighting) return false;
    const Session* session = CurrentSession();
    return session != nullptr && session->Playing() &&
           shell_.game().iGameStatus == kStatusFaceToFace;
}

bool NetFight::RunTick(Kind kind) {
    if (join_) {
        // The joiner's own timers drive nothing; its first start lets the host's ticks in.
        if (kind == Kind::kStart) join_->Hold(false);
        return false;
    }
    if (!host_) return false;
    // The host's fight may not be ended and dropped while its tick is being played.
    ++depth_;
    const bool repaint = RunHostTick(kind);
    --depth_;
    return repaint;
}

bool NetFight::RunHostTick(Kind kind) {
    std::uint8_t requests = 0;
    std::uint8_t keys = 0;
    if (kind == Kind::kInput) {
        requests = RequestsFrom({.leftPressed = shell_.PlayerPressed(kLeft),
                                 .leftHeld = shell_.PlayerHeld(kLeft, true),
                                 .rightPressed = shell_.PlayerPressed(kRight),
                                 .rightHeld = shell_.PlayerHeld(kRight, true),
                                 .turnPressed = shell_.PlayerPressed(kTurn),
                                 .downHeld = shell_.PlayerHeld(kDown, true)});
        if (shell_.PlayerPressed(kPause)) keys |= kKeyPause;
        if (std::exchange(awayPending_, false)) keys |= kKeyAway;
    } else if (kind == Kind::kStart) {
        for (int key : {kLeft, kRight, kTurn, kDown}) shell_.PlayerPressed(key);
    }
    return host_->RunTick(ToNet(kind), requests, keys);
}

bool NetFight::PressedSinceLastRead(int virtualKey) {
    Lockstep* steps = Steps();
    return steps != nullptr && steps->PressedSinceLastRead(virtualKey);
}

bool NetFight::Held(int virtualKey) {
    const Lockstep* steps = Steps();
    return steps != nullptr && steps->Held(virtualKey);
}

std::uint16_t NetFight::Port() const {
    return host_ ? host_->Session().Port() : 0;
}

int NetFight::SocketDescriptor() const {
    const Session* session = CurrentSession();
    return session ? session->SocketDescriptor() : -1;
}

std::uint64_t NetFight::BytesSent() const {
    const Session* session = CurrentSession();
    return bytesSent_ + (session ? session->BytesSent() : 0);
}

std::uint64_t NetFight::BytesReceived() const {
    const Session* session = CurrentSession();
    return bytesReceived_ + (session ? session->BytesReceived() : 0);
}

}  // namespace blok::net
