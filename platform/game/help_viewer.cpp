#include "help_viewer.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include <QApplication>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace blok::qt {

namespace {

// The help file's text, or why it is not shown.
struct HelpFile {
    QByteArray text;
    QString problem;
};

QString CannotOpenText(const QString& path, int error) {
    return QStringLiteral("The help file %1 could not be opened: %2.")
        .arg(path, QString::fromLocal8Bit(std::strerror(error)));
}

QString NotRegularText(const QString& path) {
    return QStringLiteral("%1 is not a regular file; it cannot be shown as help.").arg(path);
}

QString TooLargeText(const QString& path) {
    return QStringLiteral("The help file %1 is larger than %2 MiB; it is not shown.")
        .arg(path)
        .arg(HelpViewer::kMaxFileSize / (1024 * 1024));
}

HelpFile ReadHelpFile(const QString& path) {
    // Opened without waiting, so that a named pipe under the help file's name cannot stall the
    // viewer; only a regular file of sensible size is read.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return {{},
                error == ENOENT ? HelpViewer::MissingFileText(path) : CannotOpenText(path, error)};
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return {{}, NotRegularText(path)};
    // The file may grow between the look at its size and the read: read one byte more to see.
    if (info.st_size > HelpViewer::kMaxFileSize) return {{}, TooLargeText(path)};
    QByteArray text = file.read(HelpViewer::kMaxFileSize + 1);
    if (text.size() > HelpViewer::kMaxFileSize) return {{}, TooLargeText(path)};
    return {std::move(text), {}};
}

}  // namespace

QString HelpViewer::MissingFileText(const QString& path) {
    return QStringLiteral("The help file %1 was not found.").arg(path);
}

HelpViewer::HelpViewer(const QString& path, QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Blokfall Help"));
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W),
          QKeySequence(Qt::CTRL | Qt::Key_Q)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
    }
    auto* layout = new QVBoxLayout(this);
    const HelpFile file = ReadHelpFile(path);
    if (!file.problem.isEmpty()) {
        auto* missing = new QLabel(file.problem, this);
        missing->setObjectName(QStringLiteral("MissingHelp"));
        missing->setWordWrap(true);
        missing->setMargin(16);
        layout->addWidget(missing);
        resize(420, 120);
        return;
    }
    // The help file is plain text whose headings start with '#'; laid out as such, it reads
    // like a small manual.
    auto* text = new QTextBrowser(this);
    text->setObjectName(QStringLiteral("HelpText"));
    text->setOpenLinks(false);
    text->setMarkdown(QString::fromUtf8(file.text));
    layout->addWidget(text);
    resize(560, 640);
}

int RunHelpViewer(const QString& path) {
    HelpViewer viewer(path);
    viewer.show();
    return QApplication::exec();
}

}  // namespace blok::qt
