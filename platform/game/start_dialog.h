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
    // Lays the dialog out `scale` times as large, as the frame around it is shown.
    void SetScale(int scale);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Tab and Shift+Tab go round the dialog's own controls.
    bool focusNextPrevChild(bool next) override;

  private:
    void AddFrame(int x, int y, int w, int h);
    void AddLabel(const char* text, int x, int y, int w, int h);
    void AddRadio(int id, const char* text, int x, int y, int w, int h);
    void AddPush(int id, const char* text, int x, int y, int w, int h);
    void Place(QWidget* widget, int x, int y, int w, int h);
    QAbstractButton* ControlForMnemonic(QChar key) const;

    struct Placed {
        QWidget* widget;
        QRect pixels;  // at 1x
    };

    CommandHandler onCommand_;
    std::map<int, QAbstractButton*> controls_;
    std::vector<QAbstractButton*> tabOrder_;
    std::vector<Placed> layout_;
    QRect home_;  // the dialog's own place on the client area at 1x
    int scale_ = 1;
};

}  // namespace blok::qt
