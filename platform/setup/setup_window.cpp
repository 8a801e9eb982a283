#include "setup_window.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTimer>

#include "gradient.h"

namespace blok::setup::qt {

namespace {

constexpr int kTitleCellHeight = 40;
const char* const kTitle = "SETUP - Blokfall";

// A semi-bold italic serif whose whole character cell (ascent plus descent) is 40 pixels high.
QFont TitleFont() {
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setStyleHint(QFont::Serif);
    font.setWeight(QFont::DemiBold);
    font.setItalic(true);
    font.setPixelSize(kTitleCellHeight);
    const int cell = QFontMetrics(font).height();
    if (cell > 0) font.setPixelSize(kTitleCellHeight * kTitleCellHeight / cell);
    return font;
}

// Draws `text` with the top of its character cell at `top`, as the title is positioned.
void DrawTextAt(QPainter& painter, int left, int top, const QString& text) {
    painter.drawText(QPoint(left, top + painter.fontMetrics().ascent()), text);
}

}  // namespace

SetupWindow::SetupWindow(QWidget* parent) : QWidget(parent) {
    setWindowFlag(Qt::FramelessWindowHint);
    setWindowTitle(QString::fromLatin1(kTitle));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SetupWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawBackGround(painter, size());
    if (firstEntered_) {
        firstEntered_ = false;
        // Dialogs cannot run inside a paint, so the installation starts right after it.
        QTimer::singleShot(0, this, &SetupWindow::firstPainted);
    }
}

void DrawBackGround(QPainter& painter, const QSize& size) {
    for (const GradientBand& band : BackgroundBands(0, size.height())) {
        painter.fillRect(0, band.top, size.width(), band.bottom - band.top,
                         QColor(0, 0, band.blue));
    }
    painter.setFont(TitleFont());
    const QString title = QString::fromLatin1(kTitle);
    painter.setPen(Qt::black);
    DrawTextAt(painter, 12, 16, title);
    painter.setPen(QColor(255, 255, 0));
    DrawTextAt(painter, 8, 12, title);
}

}  // namespace blok::setup::qt
