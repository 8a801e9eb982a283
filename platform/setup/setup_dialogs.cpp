#include "setup_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace blok::setup::qt {

namespace {

// The dialogs are laid out in dialog units of their 8-point font: 1.5 x 1.625 pixels each.
QRect Units(int x, int y, int width, int height) {
    auto across = [](int units) { return units * 3 / 2; };
    auto down = [](int units) { return units * 13 / 8; };
    return QRect(across(x), down(y), across(width), down(height));
}

QFont DialogFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    // Narrow enough for the labels to fit the boxes laid out for them.
    font.setStretch(QFont::SemiCondensed);
    return font;
}

// A captionless dialog of the given size in dialog units, centred on the screen, with a
// raised border so it stands out from the window behind it.
void SetUpFrame(QDialog& dialog, int widthUnits, int heightUnits) {
    dialog.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    dialog.setFont(DialogFont());
    QRect area = Units(0, 0, widthUnits, heightUnits);
    dialog.setFixedSize(area.size());
    auto* border = new QFrame(&dialog);
    border->setFrameStyle(QFrame::Panel | QFrame::Raised);
    border->setLineWidth(2);
    border->setGeometry(area);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area.moveCenter(screen->geometry().center());
        dialog.move(area.topLeft());
    }
}

QLabel* AddLabel(QDialog& dialog, const QString& text, const QRect& place, Qt::Alignment align) {
    auto* label = new QLabel(text, &dialog);
    label->setGeometry(place);
    label->setAlignment(align);
    label->setWordWrap(true);
    return label;
}

}  // namespace

PathDialog::PathDialog(const QString& proposal, QWidget* parent) : QDialog(parent) {
    SetUpFrame(*this, 240, 112);
    setWindowTitle(QStringLiteral("Install Path"));
    AddLabel(
        *this,
        QStringLiteral("Please select the directory where the Blokfall files are to be installed."),
        Units(38, 4, 164, 20), Qt::AlignHCenter | Qt::AlignTop);
    AddLabel(*this, QStringLiteral("Install Path:"), Units(8, 48, 40, 8),
             Qt::AlignLeft | Qt::AlignTop)
        ->setWordWrap(false);
    edit_ = new QLineEdit(proposal, this);
    edit_->setGeometry(Units(48, 45, 152, 13));
    auto* browse = new QPushButton(QStringLiteral("Browse\u2026"), this);
    browse->setObjectName(QStringLiteral("Browse"));
    browse->setGeometry(Units(150, 61, 50, 14));
    connect(browse, &QPushButton::clicked, this, &PathDialog::browse);
    auto* install = new QPushButton(QStringLiteral("Install"), this);
    install->setGeometry(Units(37, 81, 50, 14));
    install->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(Units(153, 81, 50, 14));
    connect(install, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    edit_->setFocus();
}

// The folder chooser opens at the typed folder, or at the nearest folder above it that exists.
void PathDialog::browse() {
    QFileInfo start(QDir::cleanPath(edit_->text()));
    while (!start.isDir() && !start.isRoot() && !start.filePath().isEmpty()) {
        start = QFileInfo(start.path());
    }
    const QString chosen =
        QFileDialog::getExistingDirectory(this, QStringLiteral("Choose a Folder"),
                                          start.isDir() ? start.filePath() : QDir::homePath());
    if (!chosen.isEmpty()) edit_->setText(QDir::toNativeSeparators(chosen));
    edit_->setFocus();
}

QString PathDialog::path() const {
    return edit_->text();
}

ProgressDialog::ProgressDialog(int range, QWidget* parent) : QDialog(parent) {
    SetUpFrame(*this, 240, 71);
    setWindowTitle(QStringLiteral("Installing Files"));
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(Units(34, 12, 172, 17));
    text_ = AddLabel(*this, QStringLiteral("Installing Files ..."), Units(62, 17, 124, 11),
                     Qt::AlignCenter);
    bar_ = new QProgressBar(this);
    bar_->setGeometry(Units(34, 39, 172, 14));
    bar_->setRange(0, range);
    bar_->setValue(0);
    bar_->setTextVisible(false);
}

void ProgressDialog::setText(const QString& text) {
    text_->setText(text);
}
void ProgressDialog::setPosition(int position) {
    bar_->setValue(position);
}
QString ProgressDialog::text() const {
    return text_->text();
}
int ProgressDialog::position() const {
    return bar_->value();
}

}  // namespace blok::setup::qt
