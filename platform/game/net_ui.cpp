#include "net_ui.h"

#include <functional>

#include <QAction>
#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QNetworkInterface>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "dialog_font.h"
#include "game_shell.h"
#include "net_fight.h"
#include "qt_platform.h"

namespace blok::qt {

namespace {

constexpr int kServiceMs = 10;
const QString kCaption = QStringLiteral("Network Fight");

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The machine's addresses another machine may reach it on.
QString LocalAddresses() {
    QStringList addresses;
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback()) {
            addresses << address.toString();
        }
    }
    return addresses.isEmpty() ? QStringLiteral("(no network found)")
                               : addresses.join(QStringLiteral(", "));
}

constexpr int kDialogWidth = 320;  // the caption fits
const QString kWaiting = QStringLiteral("Waiting for the other player to join…");

void PrepareDialog(QDialog& dialog, const QString& caption) {
    dialog.setWindowTitle(caption);
    dialog.setFont(DialogFont());
    dialog.setModal(true);
    dialog.setMinimumWidth(kDialogWidth);
}

// Shows the host's port, addresses and code while it waits for the joiner.
class HostDialog : public QDialog {
  public:
    HostDialog(QWidget* owner, net::NetFight& fight, std::uint16_t port, const QString& code)
        : QDialog(owner) {
        setObjectName(QStringLiteral("HostDialog"));
        PrepareDialog(*this, QStringLiteral("Host a Network Fight"));
        auto* layout = new QVBoxLayout(this);
        auto* form = new QFormLayout;
        form->addRow(QStringLiteral("Port:"), new QLabel(QString::number(port), this));
        form->addRow(QStringLiteral("Addresses:"), new QLabel(LocalAddresses(), this));
        auto* codeLabel = new QLabel(code, this);
        codeLabel->setObjectName(QStringLiteral("JoinCode"));
        codeLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(QStringLiteral("Join code:"), codeLabel);
        layout->addLayout(form);
        status_ = new QLabel(kWaiting, this);
        status_->setWordWrap(true);
        layout->addWidget(status_);
        auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
        layout->addWidget(cancel, 0, Qt::AlignRight);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        fight.SetCallbacks({[this] { accept(); },
                            [this](std::string_view why) { status_->setText(FromView(why)); },
                            [this](std::string_view what) {
                                status_->setText(FromView(what) + QLatin1Char('\n') + kWaiting);
                            }});
    }

  private:
    QLabel* status_ = nullptr;
};

// Asks for the host, its port and its code, then waits for the host's answer.
class JoinDialog : public QDialog {
  public:
    // `connecting` runs after each attempt that has begun.
    JoinDialog(QWidget* owner, net::NetFight& fight, std::function<void()> connecting)
        : QDialog(owner), fight_(fight), connecting_(std::move(connecting)) {
        setObjectName(QStringLiteral("JoinDialog"));
        PrepareDialog(*this, QStringLiteral("Join a Network Fight"));
        auto* layout = new QVBoxLayout(this);
        auto* form = new QFormLayout;
        host_ = new QLineEdit(this);
        host_->setMaxLength(253);
        port_ = new QSpinBox(this);
        port_->setRange(1, 65535);
        port_->setValue(net::kDefaultPort);
        code_ = new QLineEdit(this);
        code_->setMaxLength(static_cast<int>(net::kMaxJoinCode));
        form->addRow(QStringLiteral("&Host:"), host_);
        form->addRow(QStringLiteral("&Port:"), port_);
        form->addRow(QStringLiteral("Join &code:"), code_);
        layout->addLayout(form);
        status_ = new QLabel(this);
        status_->setWordWrap(true);
        layout->addWidget(status_);
        auto* buttons = new QHBoxLayout;
        join_ = new QPushButton(QStringLiteral("&Join"), this);
        join_->setDefault(true);
        auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
        buttons->addStretch();
        buttons->addWidget(join_);
        buttons->addWidget(cancel);
        layout->addLayout(buttons);
        connect(join_, &QPushButton::clicked, this, [this] { TryJoin(); });
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        fight.SetCallbacks(
            {[this] { accept(); }, [this](std::string_view why) { Failed(FromView(why)); }, {}});
    }

  private:
    void TryJoin() {
        std::string error;
        const std::string host = host_->text().trimmed().toStdString();
        const std::string code = code_->text().trimmed().toUpper().toStdString();
        if (!net::IsValidText(host, 253))
            return Failed(QStringLiteral("Type the host's name or address."));
        if (!fight_.Join(host, static_cast<std::uint16_t>(port_->value()), code, error)) {
            return Failed(QString::fromStdString(error));
        }
        SetBusy(true);
        status_->setText(QStringLiteral("Connecting…"));
        connecting_();
    }
    void Failed(const QString& why) {
        SetBusy(false);
        status_->setText(why);
    }
    void SetBusy(bool busy) {
        for (QWidget* w : {static_cast<QWidget*>(host_), static_cast<QWidget*>(port_),
                           static_cast<QWidget*>(code_), static_cast<QWidget*>(join_)}) {
            w->setEnabled(!busy);
        }
    }

    net::NetFight& fight_;
    std::function<void()> connecting_;
    QLineEdit* host_ = nullptr;
    QSpinBox* port_ = nullptr;
    QLineEdit* code_ = nullptr;
    QPushButton* join_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace

NetUi::NetUi(QtPlatform& platform, GameShell& shell, net::NetFight& fight)
    : platform_(platform), shell_(shell), fight_(fight), timer_(std::make_unique<QTimer>()) {
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_.get(), &QTimer::timeout, this, [this] { Service(); });
    if (QAction* host = platform_.MenuAction(kCmdHostFight)) {
        connect(host, &QAction::triggered, this, [this] { OpenHostDialog(); });
    }
    if (QAction* join = platform_.MenuAction(kCmdJoinFight)) {
        connect(join, &QAction::triggered, this, [this] { OpenJoinDialog(); });
    }
}

NetUi::~NetUi() = default;

bool NetUi::MayStart() {
    if (fight_.CurrentStage() != net::NetFight::Stage::kIdle ||
        shell_.game().iGameStatus != kStatusTitle) {
        platform_.ShowMessage("A network fight starts from the title screen, when no game runs.",
                              "Network Fight");
        return false;
    }
    return true;
}

void NetUi::OpenHostDialog() {
    HostNow(net::kDefaultPort, {});
}

void NetUi::HostNow(std::uint16_t port, const QString& code) {
    if (!MayStart()) return;
    const std::string joinCode = code.isEmpty()
                                     ? net::MakeJoinCode(QRandomGenerator::system()->generate())
                                     : code.toUpper().toStdString();
    std::string error;
    if (!fight_.Host(port, joinCode, error)) {
        platform_.ShowMessage(error, "Network Fight");
        return;
    }
    KeepServicing();
    HostDialog dialog(platform_.Window(), fight_, fight_.Port(), QString::fromStdString(joinCode));
    if (dialog.exec() != QDialog::Accepted) fight_.Cancel();
    fight_.SetCallbacks({});
}

void NetUi::OpenJoinDialog() {
    if (!MayStart()) return;
    JoinDialog dialog(platform_.Window(), fight_, [this] { KeepServicing(); });
    if (dialog.exec() != QDialog::Accepted) fight_.Cancel();
    fight_.SetCallbacks({});
}

void NetUi::JoinNow(const QString& host, std::uint16_t port, const QString& code) {
    if (!MayStart()) return;
    std::string error;
    fight_.SetCallbacks(
        {{}, [this](std::string_view why) { platform_.ShowMessage(why, "Network Fight"); }, {}});
    if (!fight_.Join(host.toStdString(), port, code.toUpper().toStdString(), error)) {
        platform_.ShowMessage(error, "Network Fight");
        return;
    }
    KeepServicing();
}

void NetUi::KeepServicing() {
    WatchSocket();
    if (!timer_->isActive()) timer_->start(kServiceMs);
}

// Without a fight the timer rests, so the title screen costs no wake-ups of its own.
void NetUi::Service() {
    fight_.Service();
    WatchSocket();
    if (!fight_.NeedsService()) timer_->stop();
}

void NetUi::WatchSocket() {
    const int socket = fight_.SocketDescriptor();
    if (socket == watchedSocket_) return;
    // The old notifier may be the one whose signal runs now: it goes once that has returned.
    if (notifier_) {
        notifier_->setEnabled(false);
        notifier_.release()->deleteLater();
    }
    watchedSocket_ = socket;
    if (socket < 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { Service(); });
}

}  // namespace blok::qt
