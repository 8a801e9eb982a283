#pragma once

#include <cstdint>
#include <memory>

#include <QObject>
#include <QString>

class QSocketNotifier;
class QTimer;
class QWidget;

namespace blok {
class GameShell;
namespace net {
class NetFight;
}
}  // namespace blok

namespace blok::qt {

class QtPlatform;

// The network fight in the window: the two items of the Options menu, the host's and the
// joiner's dialogs, and the servicing of the connection from the event loop (a timer for
// ENet's resends and pings while a fight is set up or under way, a socket notifier so that
// ticks arrive without delay).
class NetUi : public QObject {
  public:
    NetUi(QtPlatform& platform, GameShell& shell, net::NetFight& fight);
    ~NetUi() override;

    // Opens the host's dialog at once, listening on `port` with `code` (empty: a random one).
    void HostNow(std::uint16_t port, const QString& code);
    // Connects at once; a failure is reported in a message box.
    void JoinNow(const QString& host, std::uint16_t port, const QString& code);

  private:
    void OpenHostDialog();
    void OpenJoinDialog();
    bool MayStart();
    // Services the fight's connection from now on, until it has ended and been let go.
    void KeepServicing();
    void Service();
    void WatchSocket();

    QtPlatform& platform_;
    GameShell& shell_;
    net::NetFight& fight_;
    std::unique_ptr<QTimer> timer_;
    std::unique_ptr<QSocketNotifier> notifier_;
    int watchedSocket_ = -1;
};

}  // namespace blok::qt
