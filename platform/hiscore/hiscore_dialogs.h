#pragma once

#include <chrono>
#include <string>

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QSet>

#include "hiscore_book.h"

class QLineEdit;

namespace blok::qt {

// How long the name dialog takes no keys after it opens: the game may have ended under keys
// still being hammered.
inline constexpr std::chrono::milliseconds kNameDialogSettle{500};

// "Dialog_2": asks a player who has entered the table for a name. It has no cancel button and no
// close box, and Escape does nothing; closing it otherwise takes the name as it stands.
class NameDialog : public QDialog {
  public:
    explicit NameDialog(QWidget* owner, std::chrono::milliseconds settle = kNameDialogSettle);
    // The typed name in UTF-8; the table keeps at most its first 27 bytes.
    std::string Name() const;
    QLineEdit* NameEdit() const { return edit_; }

  protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Keys pressed in its first moments, and keys still held from the game (their auto-repeat),
    // type nothing until pressed again.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool Settling() const;

    QLineEdit* edit_;
    std::chrono::milliseconds settle_;
    QElapsedTimer shown_;
    QSet<quint32> pressedHere_;  // keys that went down while the dialog took keys
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
    void SetNameDialogSettle(std::chrono::milliseconds settle) { nameSettle_ = settle; }

  private:
    QPointer<QWidget> owner_;
    std::chrono::milliseconds nameSettle_ = kNameDialogSettle;
};

}  // namespace blok::qt
