#include "info_dialogs.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <vector>

#include "dialog_font.h"

namespace blok::qt {
namespace {

QLabel* SunkenTitle(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setMargin(4);
    return label;
}

QFrame* EtchedLine(QFrame::Shape shape, QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// Every command of these dialogs ends them: OK and Enter accept, Escape rejects.
QPushButton* AddOkButton(QDialog* dialog, QVBoxLayout* layout) {
    auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    return ok;
}

void PrepareDialog(QDialog* dialog, const QString& caption) {
    dialog->setWindowTitle(caption);
    dialog->setFont(DialogFont());
    dialog->setModal(true);
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
}

// Both boxes open in the middle of the screen, wherever the game's window stands.
void CentreOnScreen(QDialog* dialog, QWidget* owner) {
    dialog->adjustSize();
    // The desktop's frame is known once the window exists. (It makes the dialog a native window;
    // the window layer keeps that from spreading to the game window's own widgets.)
    dialog->winId();
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QSize outer = dialog->frameGeometry().size();
    dialog->move(area.x() + (area.width() - outer.width()) / 2,
                 area.y() + (area.height() - outer.height()) / 2);
}

QString KeyName(const KeyBindings& keys, Side side, Action action) {
    return QString::fromStdString(PhysicalKeyName(keys.At(KeySlot{false, side, action})));
}

bool RightPlayerHasOwnKeys(const KeyBindings& keys) {
    for (int action = 0; action < kActions; ++action) {
        const Action request = Action(action);
        if (keys.At(KeySlot{false, kOnePlayer, request}) !=
            keys.At(KeySlot{false, kRightPlayer, request}))
            return true;
    }
    return false;
}

// The key table: request names, then the keys of player 1 (the one-player game's, which the
// right player shares by default) and of player 2 (the left side's), between etched grid lines.
// Once the right player's keys differ, they get a column too and the columns are named as in
// Controls. Lines sit in the odd rows and columns of the grid.
QFrame* KeyTable(const KeyBindings& keys, QWidget* parent) {
    static const char* const kRequests[] = {"Rotate", "Left", "Right", "FastDown"};
    std::vector<Side> sides{kOnePlayer, kLeftPlayer};
    QStringList heads{QStringLiteral("Player1-Keys:"), QStringLiteral("Player2-Keys:")};
    if (RightPlayerHasOwnKeys(keys)) {
        sides.push_back(kRightPlayer);
        heads.clear();
        for (Side side : sides) heads << QString::fromUtf8(SideName(side)) + QLatin1Char(':');
    }
    std::vector<QStringList> rows{QStringList{QString()} + heads};
    for (int action = 0; action < kActions; ++action) {
        QStringList row{QString::fromUtf8(kRequests[action])};
        for (Side side : sides) row << KeyName(keys, side, Action(action));
        rows.push_back(row);
    }
    const int kRowCount = static_cast<int>(rows.size());
    const int kColumnCount = static_cast<int>(rows.front().size());

    auto* table = new QFrame(parent);
    table->setObjectName(QStringLiteral("KeyTable"));
    table->setFrameStyle(QFrame::Box | QFrame::Sunken);
    auto* grid = new QGridLayout(table);
    grid->setSpacing(0);
    grid->setContentsMargins(2, 2, 2, 2);
    for (int row = 0; row < kRowCount; ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            auto* cell = new QLabel(rows[std::size_t(row)][column], table);
            cell->setMargin(4);
            grid->addWidget(cell, 2 * row, 2 * column);
        }
    }
    for (int row = 1; row < kRowCount; ++row) {
        grid->addWidget(EtchedLine(QFrame::HLine, table), 2 * row - 1, 0, 1, 2 * kColumnCount - 1);
    }
    for (int column = 1; column < kColumnCount; ++column) {
        grid->addWidget(EtchedLine(QFrame::VLine, table), 0, 2 * column - 1, 2 * kRowCount - 1, 1);
    }
    return table;
}

}  // namespace

InfoDialog::InfoDialog(QWidget* owner, const KeyBindings& keys) : QDialog(owner) {
    setObjectName(QStringLiteral("Dialog_5"));
    PrepareDialog(this, QStringLiteral("Just for Info"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SunkenTitle(QStringLiteral("Blokfall - Game Info"), this));
    layout->addWidget(KeyTable(keys, this));
    const QString pause = QString::fromStdString(PhysicalKeyName(keys.pause));
    layout->addWidget(new QLabel(QStringLiteral("Press [%1] for Pause").arg(pause), this), 0,
                      Qt::AlignHCenter);
    AddOkButton(this, layout);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    CentreOnScreen(this, owner);
}

AboutDialog::AboutDialog(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("About"));
    PrepareDialog(this, QStringLiteral("About Blokfall"));
    auto* outer = new QVBoxLayout(this);
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(SunkenTitle(QStringLiteral("Blokfall - Version 1.0"), frame));
    layout->addWidget(
        new QLabel(QStringLiteral("A falling-block game for one or two players."), frame));
    layout->addWidget(EtchedLine(QFrame::HLine, frame));
    layout->addWidget(new QLabel(QStringLiteral("Contact:"), frame));
    layout->addWidget(new QLabel(QStringLiteral("The Blokfall developers"), frame));
    // The address the package names as its contact; selectable, to paste into a mail.
    auto* address = new QLabel(QStringLiteral("developers@blokfall.org"), frame);
    address->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(address);
    outer->addWidget(frame);
    AddOkButton(this, outer);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    CentreOnScreen(this, owner);
}

}  // namespace blok::qt
