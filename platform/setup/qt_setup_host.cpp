#include "qt_setup_host.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>

namespace blok::setup::qt {

namespace {
QString Text(const std::string& text) {
    return QString::fromStdString(text);
}
}  // namespace

QtSetupHost::QtSetupHost(QWidget& window) : window_(window) {}
QtSetupHost::~QtSetupHost() = default;

std::optional<std::string> QtSetupHost::AskInstallPath(const std::string& proposal) {
    PathDialog dialog(Text(proposal), &window_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.path().toStdString();
}

void QtSetupHost::ShowMessage(const std::string& text, const std::string& caption) {
    lastMessage_ = text;
    QMessageBox box(QMessageBox::NoIcon, Text(caption), Text(text), QMessageBox::Ok, &window_);
    box.exec();
}

bool QtSetupHost::AskYesNo(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Question, Text(caption), Text(text),
                    QMessageBox::Yes | QMessageBox::No, &window_);
    box.setDefaultButton(QMessageBox::No);  // Enter keeps the user's files
    return box.exec() == QMessageBox::Yes;
}

void QtSetupHost::OpenProgress(int range) {
    progress_ = std::make_unique<ProgressDialog>(range, &window_);
    progress_->show();
}

void QtSetupHost::SetProgressText(const std::string& text) {
    if (progress_) progress_->setText(Text(text));
}

void QtSetupHost::SetProgressPosition(int position) {
    if (progress_) progress_->setPosition(position);
}

void QtSetupHost::CloseProgress() {
    progress_.reset();
}

void QtSetupHost::Pause(int milliseconds) {
    // The windows keep painting while the installer waits.
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void QtSetupHost::OpenFolder(const std::string& folder) {
    // Its complaints about a desktop without a file manager are not the installer's to show.
    QProcess opener;
    opener.setProgram(QStringLiteral("xdg-open"));
    opener.setArguments({Text(folder)});
    opener.setStandardOutputFile(QProcess::nullDevice());
    opener.setStandardErrorFile(QProcess::nullDevice());
    opener.startDetached();
}

}  // namespace blok::setup::qt
