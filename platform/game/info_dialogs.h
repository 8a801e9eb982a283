#pragma once

#include <QDialog>

namespace blok::qt {

// "Just for Info": the key table of the game. Closed by OK, Enter or Escape.
class InfoDialog : public QDialog {
public:
    explicit InfoDialog(QWidget* owner);
};

// "About Blokfall". Closed by OK, Enter or Escape.
class AboutDialog : public QDialog {
public:
    explicit AboutDialog(QWidget* owner);
};

}  // namespace blok::qt
