#include "options_controller.h"

#include <utility>

#include <QMainWindow>

#include "ids_and_sizes.h"
#include "options_dialogs.h"
#include "qt_platform.h"
#include "settings_file.h"

namespace blok::qt {

OptionsController::OptionsController(QtPlatform& platform, QString path, Hooks hooks)
    : platform_(platform), path_(std::move(path)), hooks_(std::move(hooks)) {
    platform_.SetCommandHandler(kCmdZoom1, kCmdComputerHard, [this](int id) { OnCommand(id); });
}

void OptionsController::Start() {
    settings_ = LoadSettings(path_, &damaged_);
    Apply();
}

void OptionsController::OnCommand(int id) {
    if (const std::optional<Settings> picked = AfterOptionsCommand(settings_, id)) {
        Change(*picked);
        return;
    }
    Settings changed = settings_;
    if (id == kCmdControls) {
        const QStringList pads = hooks_.padNames ? hooks_.padNames() : QStringList{};
        ControlsDialog dialog(settings_, pads, platform_.Window());
        if (dialog.exec() != QDialog::Accepted) return;
        changed = dialog.Chosen();
    } else if (id == kCmdVolume) {
        VolumeDialog dialog(settings_.volume, settings_.muted, platform_.Window());
        if (dialog.exec() != QDialog::Accepted) return;
        changed.volume = dialog.Volume();
        changed.muted = dialog.Muted();
    }
    Change(changed);
}

void OptionsController::Change(const Settings& changed) {
    if (changed == settings_) return;
    settings_ = changed;
    Apply();
    SaveSettings(path_, settings_, damaged_);
    damaged_ = false;
}

void OptionsController::Apply() {
    platform_.SetZoom(settings_.zoom);
    platform_.SetFullScreen(settings_.fullScreen);
    for (const MenuCheck& check : OptionsMenuChecks(settings_, platform_.Zoom())) {
        platform_.CheckMenuItem(check.id, check.checked);
    }
    platform_.SetShownKeys(settings_.keys);
    if (hooks_.applyToGame) hooks_.applyToGame(settings_);
    if (hooks_.applyVolume) hooks_.applyVolume(settings_.volume, settings_.muted);
}

}  // namespace blok::qt
