#pragma once

#include <functional>
#include <map>
#include <vector>

#include <QFrame>

class QAbstractButton;
class QKeyEvent;

namespace blok::qt {

// The start dialog on the title screen: the game type and Start/Exit. It lives inside the main
// window's client area and reports every button press to the game, which decides what is
// checked; the radio buttons never check themselves.
class StartDialog : public QFrame {
  public:
    using CommandHandler = std::function<void(int id)>;

    StartDialog(QWidget* parent, CommandHandler onCommand);

    // The button with this control id (102, 103, 105, 106, 107, 108), or null.
    QAbstractButton* Control(int id) const;
    void CheckRadioButton(int first, int last, int checked);
    // Takes the keyboard focus: back to the control that had it, else the first one.
    void TakeFocus();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Tab and Shift+Tab go round the dialog's own controls.
    bool focusNextPrevChild(bool next) override;

  private:
    void AddFrame(int x, int y, int w, int h);
    void AddLabel(const char* text, int x, int y, int w, int h);
    void AddRadio(int id, const char* text, int x, int y, int w, int h);
    void AddPush(int id, const char* text, int x, int y, int w, int h);
    QAbstractButton* ControlForMnemonic(QChar key) const;

    CommandHandler onCommand_;
    std::map<int, QAbstractButton*> controls_;
    std::vector<QAbstractButton*> tabOrder_;
};

}  // namespace blok::qt
