#pragma once

#include <string>

#include <QDialog>
#include <QPointer>
#include <QSet>

#include "hiscore_book.h"

class QLineEdit;

namespace blok::qt {

// "Dialog_2": asks a player who has entered the table for a name. It has no cancel button and no
// close box, and Escape does nothing; closing it otherwise takes the name as it stands.
class NameDialog : public QDialog {
  public:
    explicit NameDialog(QWidget* owner);
    // The typed name in UTF-8; the table keeps at most its first 27 bytes.
    std::string Name() const;
    QLineEdit* NameEdit() const { return edit_; }

  protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    // Keys still held from the game (their auto-repeat) type nothing until released once.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* edit_;
    QSet<quint32> pressedHere_;  // keys that went down while the dialog was open
};

// "Dialog_3": the ten entries, each row in a sunken frame, rank and name on the left and the
// points on the right.
class ScoreTableDialog : public QDialog {
  public:
    ScoreTableDialog(const HiscoreTable& table, QWidget* owner);
};

// Runs both dialogs modally over the owner window; timers keep firing while they are open.
// The owner may be set once the main window exists, since the book is made before it.
class QtHiscoreDialogs : public HiscoreDialogs {
  public:
    explicit QtHiscoreDialogs(QWidget* owner = nullptr);
    void SetOwner(QWidget* owner);

    std::string RunNameDialog() override;
    void RunScoreTable(const HiscoreTable& table) override;
    void ReportSaveFailure(const std::string& text) override;

  private:
    QPointer<QWidget> owner_;
};

}  // namespace blok::qt
