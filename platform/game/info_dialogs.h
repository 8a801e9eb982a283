#pragma once

#include <QDialog>

#include "key_bindings.h"

namespace blok::qt {

// "Just for Info": the key table of the game, with the keys in force. Closed by OK, Enter or
// Escape.
class InfoDialog : public QDialog {
  public:
    explicit InfoDialog(QWidget* owner, const KeyBindings& keys = DefaultKeyBindings());
};

// "About Blokfall". Closed by OK, Enter or Escape.
class AboutDialog : public QDialog {
  public:
    explicit AboutDialog(QWidget* owner);
};

}  // namespace blok::qt
