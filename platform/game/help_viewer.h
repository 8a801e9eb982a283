#pragma once

#include <QString>
#include <QWidget>

namespace blok::qt {

// The help window: shows the game's help text read-only, or says plainly that it is missing.
// It runs in a process of its own, so the game never waits for it.
class HelpViewer : public QWidget {
public:
    explicit HelpViewer(const QString& path, QWidget* parent = nullptr);

    static QString MissingFileText(const QString& path);
};

// `Blokfall --help-viewer PATH`: shows the viewer and runs until it is closed.
int RunHelpViewer(const QString& path);

}  // namespace blok::qt
