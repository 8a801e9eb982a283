#pragma once

#include <array>
#include <optional>

#include <QDialog>
#include <QStringList>

#include "settings.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

namespace blok::qt {

// The controls: a button per key of each game type; clicking one and pressing a key assigns it,
// unless another request of the same game type has that key (then the dialog says which and
// keeps the old key). Also the repeat delay and which gamepad plays which side.
class ControlsDialog : public QDialog {
  public:
    // `padNames`: the connected pads, first and second (empty when none).
    ControlsDialog(const Settings& settings, const QStringList& padNames, QWidget* owner);

    const Settings& Chosen() const { return settings_; }
    QPushButton* KeyButton(const KeySlot& slot) const;
    QString Message() const;

  protected:
    bool event(QEvent* event) override;

  private:
    void StartCapture(const KeySlot& slot);
    void Capture(int physicalKey);
    void Refresh();
    void ReadRepeat();

    Settings settings_;
    QStringList padNames_;
    std::optional<KeySlot> capturing_;
    std::array<std::array<QPushButton*, kActions>, kSides> keyButtons_{};
    QPushButton* pauseButton_ = nullptr;
    QLabel* message_ = nullptr;
    QLabel* pads_ = nullptr;
    QCheckBox* swapPads_ = nullptr;
    QCheckBox* repeatOn_ = nullptr;
    QSpinBox* repeatDelay_ = nullptr;
    QSpinBox* repeatRate_ = nullptr;
};

// Music volume 0..100 % and mute.
class VolumeDialog : public QDialog {
  public:
    VolumeDialog(int volume, bool muted, QWidget* owner);
    int Volume() const;
    bool Muted() const;

  private:
    QSlider* slider_ = nullptr;
    QCheckBox* mute_ = nullptr;
};

}  // namespace blok::qt
