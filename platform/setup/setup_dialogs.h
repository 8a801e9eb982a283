#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QProgressBar;

namespace blok::setup::qt {

// The modal dialog that asks where to install. "Install" (also Enter) accepts, "Cancel" (also
// Esc) rejects; "Browse…" picks the folder in a folder chooser.
class PathDialog : public QDialog {
    Q_OBJECT
  public:
    PathDialog(const QString& proposal, QWidget* parent);
    QString path() const;

  private:
    void browse();
    QLineEdit* edit_;
};

// The modeless dialog that shows which file is being installed and how far it has got.
class ProgressDialog : public QDialog {
    Q_OBJECT
  public:
    ProgressDialog(int range, QWidget* parent);
    void setText(const QString& text);
    void setPosition(int position);
    QString text() const;
    int position() const;

  private:
    QLabel* text_;
    QProgressBar* bar_;
};

}  // namespace blok::setup::qt
