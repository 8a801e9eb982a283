#include "options_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "key_tracker.h"

namespace blok::qt {

namespace {

QString KeyText(PhysicalKey key) {
    return QString::fromStdString(PhysicalKeyName(key));
}
QString SlotText(const KeySlot& slot) {
    return QString::fromStdString(SlotName(slot));
}

QSpinBox* MillisecondsBox(int value, int minimum, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(minimum, kMaxRepeatMs);
    box->setSingleStep(60);
    box->setSuffix(QStringLiteral(" ms"));
    box->setValue(value);
    return box;
}

QDialogButtonBox* OkCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

}  // namespace

ControlsDialog::ControlsDialog(const Settings& settings, const QStringList& padNames,
                               QWidget* owner)
    : QDialog(owner), settings_(settings), padNames_(padNames) {
    setObjectName(QStringLiteral("Controls"));
    setWindowTitle(QStringLiteral("Controls"));
    auto* layout = new QVBoxLayout(this);

    auto* grid = new QGridLayout;
    for (int side = 0; side < kSides; ++side) {
        grid->addWidget(new QLabel(QString::fromUtf8(SideName(Side(side))), this), 0, side + 1,
                        Qt::AlignHCenter);
    }
    const auto addKeyButton = [this](const KeySlot& slot) {
        auto* button = new QPushButton(this);
        button->setFocusPolicy(Qt::NoFocus);  // keys go to the capture, never to a button
        connect(button, &QPushButton::clicked, this, [this, slot] { StartCapture(slot); });
        return button;
    };
    for (int action = 0; action < kActions; ++action) {
        grid->addWidget(new QLabel(QString::fromUtf8(ActionName(Action(action))), this), action + 1,
                        0);
        for (int side = 0; side < kSides; ++side) {
            QPushButton* button = addKeyButton(KeySlot{false, Side(side), Action(action)});
            keyButtons_[std::size_t(side)][std::size_t(action)] = button;
            grid->addWidget(button, action + 1, side + 1);
        }
    }
    grid->addWidget(new QLabel(QStringLiteral("Pause"), this), kActions + 1, 0);
    pauseButton_ = addKeyButton(KeySlot{true});
    grid->addWidget(pauseButton_, kActions + 1, 1, 1, kSides);
    layout->addLayout(grid);

    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("Message"));
    message_->setWordWrap(true);
    layout->addWidget(message_);

    repeatOn_ = new QCheckBox(QStringLiteral("&Repeat delay for Left and Right"), this);
    repeatOn_->setChecked(settings_.repeat.on);
    layout->addWidget(repeatOn_);
    auto* timing = new QHBoxLayout;
    repeatDelay_ = MillisecondsBox(settings_.repeat.delayMs, kMinRepeatMs, this);
    repeatRate_ = MillisecondsBox(settings_.repeat.rateMs, 60, this);
    timing->addWidget(new QLabel(QStringLiteral("Delay:"), this));
    timing->addWidget(repeatDelay_);
    timing->addWidget(new QLabel(QStringLiteral("Rate:"), this));
    timing->addWidget(repeatRate_);
    layout->addLayout(timing);
    const auto enableTiming = [this](bool on) {
        repeatDelay_->setEnabled(on);
        repeatRate_->setEnabled(on);
    };
    enableTiming(settings_.repeat.on);
    connect(repeatOn_, &QCheckBox::toggled, this, enableTiming);

    pads_ = new QLabel(this);
    pads_->setObjectName(QStringLiteral("Pads"));
    layout->addWidget(pads_);
    swapPads_ = new QCheckBox(QStringLiteral("S&wap gamepads"), this);
    swapPads_->setChecked(settings_.swapPads);
    connect(swapPads_, &QCheckBox::toggled, this, [this](bool on) {
        settings_.swapPads = on;
        Refresh();
    });
    layout->addWidget(swapPads_);

    auto* buttons = OkCancel(this);
    QPushButton* defaults =
        buttons->addButton(QStringLiteral("&Defaults"), QDialogButtonBox::ResetRole);
    connect(defaults, &QPushButton::clicked, this, [this] {
        settings_.keys = DefaultKeyBindings();
        capturing_.reset();
        message_->clear();
        Refresh();
    });
    connect(this, &QDialog::accepted, this, &ControlsDialog::ReadRepeat);
    layout->addWidget(buttons);
    Refresh();
}

QPushButton* ControlsDialog::KeyButton(const KeySlot& slot) const {
    if (slot.pause) return pauseButton_;
    return keyButtons_[std::size_t(slot.side)][std::size_t(slot.action)];
}

QString ControlsDialog::Message() const {
    return message_->text();
}

void ControlsDialog::StartCapture(const KeySlot& slot) {
    capturing_ = slot;
    message_->setText(QStringLiteral("Press a key for %1 (Escape keeps %2).")
                          .arg(SlotText(slot), KeyText(settings_.keys.At(slot))));
    setFocus(Qt::OtherFocusReason);
    Refresh();
}

// While a key is awaited, every key press is the answer, Tab and Escape included.
bool ControlsDialog::event(QEvent* event) {
    if (capturing_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            if (key->key() == Qt::Key_Escape) {
                capturing_.reset();
                message_->clear();
                Refresh();
            } else {
                Capture(PhysicalKeyOf(*key));
            }
        }
        return true;
    }
    return QDialog::event(event);
}

void ControlsDialog::Capture(int physicalKey) {
    const KeySlot slot = *capturing_;
    if (physicalKey == kNoKey) {
        message_->setText(QStringLiteral("That key cannot be used; press another one."));
        return;
    }
    capturing_.reset();
    if (const auto conflict = Assign(settings_.keys, slot, physicalKey)) {
        message_->setText(QStringLiteral("%1 is already used for %2; %3 keeps %4.")
                              .arg(KeyText(physicalKey), SlotText(*conflict), SlotText(slot),
                                   KeyText(settings_.keys.At(slot))));
    } else {
        message_->clear();
    }
    Refresh();
}

void ControlsDialog::Refresh() {
    for (const KeySlot& slot : AllSlots()) {
        KeyButton(slot)->setText(capturing_ == slot ? QStringLiteral("...")
                                                    : KeyText(settings_.keys.At(slot)));
    }
    const auto padName = [this](Side side) {
        const int pad = PadForSide(settings_, side);
        const QString name = padNames_.value(pad);
        return QStringLiteral("pad %1 (%2)")
            .arg(pad + 1)
            .arg(name.isEmpty() ? QStringLiteral("not connected") : name);
    };
    pads_->setText(QStringLiteral("Gamepads: one player and left side: %1; right side: %2.")
                       .arg(padName(kLeftPlayer), padName(kRightPlayer)));
}

void ControlsDialog::ReadRepeat() {
    settings_.repeat.on = repeatOn_->isChecked();
    settings_.repeat.delayMs = repeatDelay_->value();
    settings_.repeat.rateMs = repeatRate_->value();
}

VolumeDialog::VolumeDialog(int volume, bool muted, QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("Volume"));
    setWindowTitle(QStringLiteral("Music Volume"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setRange(0, 100);
    slider_->setValue(volume);
    auto* percent = new QLabel(this);
    const auto showPercent = [percent](int value) {
        percent->setText(QStringLiteral("%1 %").arg(value));
    };
    showPercent(volume);
    connect(slider_, &QSlider::valueChanged, this, showPercent);
    auto* label = new QLabel(QStringLiteral("&Volume:"), this);
    label->setBuddy(slider_);  // shows V underlined, and Alt+V reaches the slider
    row->addWidget(label);
    row->addWidget(slider_);
    row->addWidget(percent);
    layout->addLayout(row);
    mute_ = new QCheckBox(QStringLiteral("&Mute"), this);
    mute_->setChecked(muted);
    layout->addWidget(mute_);
    layout->addWidget(OkCancel(this));
}

int VolumeDialog::Volume() const {
    return slider_->value();
}
bool VolumeDialog::Muted() const {
    return mute_->isChecked();
}

}  // namespace blok::qt
