#pragma once

#include <QWidget>

class QPainter;

namespace blok::setup::qt {

// The installer's full-screen window: blue stripes and the shadowed title. It tells once,
// after its first paint, that the installation may begin.
class SetupWindow : public QWidget {
    Q_OBJECT
  public:
    explicit SetupWindow(QWidget* parent = nullptr);

  signals:
    void firstPainted();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool firstEntered_ = true;
};

// Paints the background of a client area of `size` onto `painter`.
void DrawBackGround(QPainter& painter, const QSize& size);

}  // namespace blok::setup::qt
