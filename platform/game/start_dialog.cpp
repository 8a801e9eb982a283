#include "start_dialog.h"

#include <algorithm>

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "dialog_font.h"
#include "dialog_units.h"
#include "ids_and_sizes.h"

namespace blok::qt {
namespace {

// A radio button that only reports the click: the dialog procedure sets the check marks.
class CommandRadioButton : public QRadioButton {
  public:
    using QRadioButton::QRadioButton;

  protected:
    void nextCheckState() override {}
};

QChar MnemonicOf(const QString& text) {
    const qsizetype amp = text.indexOf(QLatin1Char('&'));
    return amp >= 0 && amp + 1 < text.size() ? text.at(amp + 1).toLower() : QChar();
}

}  // namespace

StartDialog::StartDialog(QWidget* parent, CommandHandler onCommand)
    : QFrame(parent), onCommand_(std::move(onCommand)) {
    setObjectName(QStringLiteral("Dialog_1"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);
    setFont(DialogFont());
    home_ = kUnits10pt.ToPixels(0, 116, 201, 85);
    setGeometry(home_);

    // Frames and labels first, so the buttons lie above them and take the clicks.
    AddFrame(109, 14, 78, 46);
    AddFrame(14, 13, 78, 46);
    AddLabel("2 Player Options", 120, 8, 55, 8);
    AddLabel("Game", 41, 8, 24, 8);

    AddRadio(kDlgOnePlayer, "&1 Player Game", 26, 19, 54, 12);
    AddRadio(kDlgTwoPlayers, "&2 Player Game", 26, 39, 54, 12);
    AddRadio(kDlgCooperative, "&Cooperative", 123, 21, 49, 12);
    AddRadio(kDlgFaceToFace, "F&ace to Face", 123, 41, 49, 12);
    AddPush(kDlgExit, "&Exit", 133, 64, 32, 18);
    AddPush(kDlgStart, "&Start", 38, 64, 32, 18);
}

void StartDialog::AddFrame(int x, int y, int w, int h) {
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);  // etched
    Place(frame, x, y, w, h);
}

void StartDialog::AddLabel(const char* text, int x, int y, int w, int h) {
    auto* label = new QLabel(QString::fromUtf8(text), this);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setAutoFillBackground(true);  // cuts the frame line behind the heading
    Place(label, x, y, w, h);
}

void StartDialog::AddRadio(int id, const char* text, int x, int y, int w, int h) {
    auto* radio = new CommandRadioButton(QString::fromUtf8(text), this);
    radio->setAutoExclusive(false);
    Place(radio, x, y, w, h);
    connect(radio, &QAbstractButton::clicked, this, [this, id] { onCommand_(id); });
    controls_[id] = radio;
    tabOrder_.push_back(radio);
}

void StartDialog::AddPush(int id, const char* text, int x, int y, int w, int h) {
    auto* button = new QPushButton(QString::fromUtf8(text), this);
    button->setAutoDefault(true);  // Enter presses the focused button
    Place(button, x, y, w, h);
    connect(button, &QAbstractButton::clicked, this, [this, id] { onCommand_(id); });
    controls_[id] = button;
    tabOrder_.push_back(button);
}

void StartDialog::Place(QWidget* widget, int x, int y, int w, int h) {
    const QRect pixels = kUnits10pt.ToPixels(x, y, w, h);
    widget->setGeometry(pixels);
    layout_.push_back({widget, pixels});
}

void StartDialog::SetScale(int scale) {
    if (scale < 1 || scale == scale_) return;
    scale_ = scale;
    const auto scaled = [scale](QRect r) {
        return QRect(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale);
    };
    QFont font = DialogFont();
    font.setPixelSize(font.pixelSize() * scale);
    setFont(font);
    resize(home_.size() * scale);
    for (const Placed& placed : layout_) placed.widget->setGeometry(scaled(placed.pixels));
}

QAbstractButton* StartDialog::Control(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

void StartDialog::CheckRadioButton(int first, int last, int checked) {
    for (int id = first; id <= last; ++id) {
        if (QAbstractButton* control = Control(id); control && control->isCheckable()) {
            control->setChecked(id == checked);
        }
    }
}

void StartDialog::TakeFocus() {
    QWidget* focus = focusWidget();
    if (!focus || !isAncestorOf(focus)) focus = tabOrder_.front();
    focus->setFocus(Qt::OtherFocusReason);
}

bool StartDialog::focusNextPrevChild(bool next) {
    const auto count = static_cast<std::ptrdiff_t>(tabOrder_.size());
    const auto current = std::find(tabOrder_.begin(), tabOrder_.end(), focusWidget());
    std::ptrdiff_t index = current == tabOrder_.end() ? -1 : current - tabOrder_.begin();
    index = (index + (next ? 1 : count - 1)) % count;
    tabOrder_[static_cast<std::size_t>(index)]->setFocus(next ? Qt::TabFocusReason
                                                              : Qt::BacktabFocusReason);
    return true;
}

QAbstractButton* StartDialog::ControlForMnemonic(QChar key) const {
    for (const auto& [id, control] : controls_) {
        if (MnemonicOf(control->text()) == key.toLower()) return control;
    }
    return nullptr;
}

void StartDialog::keyPressEvent(QKeyEvent* event) {
    const bool commandModifier =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const QString text = event->text();
    if (commandModifier || text.size() != 1 || !text.at(0).isPrint()) {
        QFrame::keyPressEvent(event);
        return;
    }
    // A plain letter works like its mnemonic; any other typed character does nothing.
    if (QAbstractButton* control = ControlForMnemonic(text.at(0))) {
        control->setFocus(Qt::ShortcutFocusReason);
        control->click();
    }
    event->accept();
}

}  // namespace blok::qt
