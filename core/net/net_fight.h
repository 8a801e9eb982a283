#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fight.h"
#include "game_shell.h"
#include "platform.h"
#include "tick_route.h"

namespace blok::net {

// A network fight in the game program: hosting or joining from the title screen, the fight on
// the shell's game, and its end on both machines. The window layer calls Service often (from
// its event loop) and shows what the callbacks report; nothing here blocks.
class NetFight final : public TickRoute {
  public:
    enum class Stage { kIdle, kHosting, kJoining, kFighting };

    struct Callbacks {
        std::function<void()> started;                 // the fight has begun
        std::function<void(std::string_view)> failed;  // hosting or joining ended before it
        std::function<void(std::string_view)> note;    // refused joiner, dropped packet
    };

    // `network` opens the sessions' transports and outlives the fight.
    NetFight(GameShell& shell, Platform& platform, Network& network, std::function<Millis()> clock);
    ~NetFight() override;

    void SetCallbacks(Callbacks callbacks) { callbacks_ = std::move(callbacks); }
    // Listens for one joiner with this code; `port` 0 picks a free one. `bindAddress` empty:
    // every interface of the machine.
    bool Host(std::uint16_t port, const std::string& code, std::string& error,
              const std::string& bindAddress = {});
    bool Join(const std::string& host, std::uint16_t port, const std::string& code,
              std::string& error);
    // Stops hosting or joining before the fight has begun.
    void Cancel();
    // The program ends: the other side hears why at once.
    void Close();

    void Service();
    // False once nothing is set up, fought or waiting to be let go: Service may rest until the
    // next Host or Join.
    bool NeedsService() const;
    Stage CurrentStage() const { return stage_; }
    std::uint16_t Port() const;
    int SocketDescriptor() const;
    std::uint64_t BytesSent() const;
    std::uint64_t BytesReceived() const;

    // TickRoute
    bool Active() const override;
    bool RunTick(Kind kind) override;
    bool PressedSinceLastRead(int virtualKey) override;
    bool Held(int virtualKey) override;
    void PauseWhileAway() override { awayPending_ = true; }

  private:
    SessionEvents Events();
    Session* CurrentSession() const;
    Lockstep* Steps() const;
    void Started();
    void Ended(std::string_view why);
    void SendJoinerKeys();
    void NoticeFightEnd();
    bool RunHostTick(Kind kind);
    void Reset();

    GameShell& shell_;
    Platform& platform_;
    Network& network_;
    std::function<Millis()> clock_;
    Callbacks callbacks_;
    Stage stage_ = Stage::kIdle;
    std::unique_ptr<HostFight> host_;
    std::unique_ptr<JoinFight> join_;
    // Sessions that have ended wait here until no handler of theirs is running any more.
    std::vector<std::unique_ptr<HostFight>> oldHosts_;
    std::vector<std::unique_ptr<JoinFight>> oldJoins_;
    int depth_ = 0;  // Service calls and host ticks on the stack
    std::uint8_t lastHeld_ = 0;
    bool awayPending_ = false;     // the player left the window; goes with the next keys or tick
    std::uint64_t bytesSent_ = 0;  // of ended sessions
    std::uint64_t bytesReceived_ = 0;  // of ended sessions
};

// A random join code of six letters and digits that are hard to confuse.
std::string MakeJoinCode(std::uint32_t seed);

}  // namespace blok::net
