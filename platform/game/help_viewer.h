#pragma once

#include <QString>
#include <QWidget>

namespace blok::qt {

// The help window: shows the game's help text read-only, or says plainly why it cannot. It runs
// in a process of its own, so the game never waits for it. Escape, Ctrl+W and Ctrl+Q close it.
class HelpViewer : public QWidget {
  public:
    // Help text is a few kilobytes; a file far larger than that is not the help.
    static constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

    explicit HelpViewer(const QString& path, QWidget* parent = nullptr);

    static QString MissingFileText(const QString& path);
};

// `Blokfall --help-viewer PATH`: shows the viewer and runs until it is closed.
int RunHelpViewer(const QString& path);

}  // namespace blok::qt
