#include "help_viewer.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace blok::qt {

QString HelpViewer::MissingFileText(const QString& path) {
    return QStringLiteral("The help file %1 was not found.").arg(path);
}

HelpViewer::HelpViewer(const QString& path, QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Blokfall Help"));
    auto* layout = new QVBoxLayout(this);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        auto* missing = new QLabel(MissingFileText(path), this);
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
    text->setMarkdown(QString::fromUtf8(file.readAll()));
    layout->addWidget(text);
    resize(560, 640);
}

int RunHelpViewer(const QString& path) {
    HelpViewer viewer(path);
    viewer.show();
    return QApplication::exec();
}

}  // namespace blok::qt
