#pragma once

#include <cstdint>
#include <string>

namespace blok {
class GameShell;
namespace net {
class NetFight;
}
}  // namespace blok

namespace blok::win32 {

class Win32Platform;

// The network fight in the window: the two items of the Options menu, the host's and the
// joiner's dialogs, and the servicing of the connection from the message loop (a thread timer
// for ENet's packets, resends and pings while a fight is set up or under way).
class Win32NetUi {
  public:
    Win32NetUi(Win32Platform& platform, GameShell& shell, net::NetFight& fight);
    ~Win32NetUi();
    Win32NetUi(const Win32NetUi&) = delete;
    Win32NetUi& operator=(const Win32NetUi&) = delete;

    // Opens the host's dialog at once, listening on `port` with `code` (empty: a random one).
    void HostNow(std::uint16_t port, const std::string& code);
    // Connects at once; a failure is reported in a message box.
    void JoinNow(const std::string& host, std::uint16_t port, const std::string& code);
    // Sends and receives what is due; the timer calls it while the connection needs it.
    void Service();

  private:
    void OpenJoinDialog();
    bool MayStart();
    // Services the fight's connection from now on, until it has ended and been let go.
    void KeepServicing();

    Win32Platform& platform_;
    GameShell& shell_;
    net::NetFight& fight_;
    std::uintptr_t timer_ = 0;
};

}  // namespace blok::win32
