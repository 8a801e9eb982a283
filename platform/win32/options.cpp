#include "options.h"

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>

#include "ids_and_sizes.h"
#include "key_codes.h"
#include "resource_ids.h"
#include "settings_file.h"
#include "wide_text.h"
#include "win32_platform.h"

namespace blok::win32 {

namespace {

// --- the Controls dialog --------------------------------------------------------------------

struct ControlsState {
    Settings settings;
    std::array<std::string, kPads> pads;
    std::optional<KeySlot> capturing;
    std::string message;
};

int ButtonOf(const KeySlot& slot) {
    if (slot.pause) return BLOK_CONTROLS_FIRST_KEY;
    return BLOK_CONTROLS_FIRST_KEY + 1 + slot.side * kActions + slot.action;
}

ControlsState& StateOf(HWND dialog) {
    return *reinterpret_cast<ControlsState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void SetText(HWND dialog, int id, const std::string& text) {
    SetDlgItemTextW(dialog, id, Wide(text).c_str());
}

std::string PadText(const ControlsState& state, Side side) {
    const int pad = PadForSide(state.settings, side);
    const std::string& name = state.pads[static_cast<std::size_t>(pad)];
    return "pad " + std::to_string(pad + 1) + " (" + (name.empty() ? "not connected" : name) + ")";
}

void Refresh(HWND dialog) {
    const ControlsState& state = StateOf(dialog);
    for (const KeySlot& slot : AllSlots()) {
        SetText(dialog, ButtonOf(slot),
                state.capturing == slot ? "..." : PhysicalKeyName(state.settings.keys.At(slot)));
    }
    SetText(dialog, BLOK_CONTROLS_MESSAGE, state.message);
    SetText(dialog, BLOK_CONTROLS_PADS,
            "Gamepads: one player and left side: " + PadText(state, kLeftPlayer) +
                "; right side: " + PadText(state, kRightPlayer) + ".");
}

// After an answer, Enter means OK again.
void FocusOk(HWND dialog) {
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDOK)), TRUE);
}

void Capture(HWND dialog, PhysicalKey key) {
    ControlsState& state = StateOf(dialog);
    const KeySlot slot = *state.capturing;
    if (key == kNoKey) {
        state.message = "That key cannot be used; press another one.";
        Refresh(dialog);
        return;
    }
    state.capturing.reset();
    state.message.clear();
    if (const auto conflict = Assign(state.settings.keys, slot, key)) {
        state.message = PhysicalKeyName(key) + " is already used for " + SlotName(*conflict) +
                        "; " + SlotName(slot) + " keeps " +
                        PhysicalKeyName(state.settings.keys.At(slot)) + ".";
    }
    Refresh(dialog);
    FocusOk(dialog);
}

// While a key is awaited, the key buttons take every key, Tab and Escape included, by the
// keyboard's scan code.
LRESULT CALLBACK KeyButtonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR data) {
    const auto dialog = reinterpret_cast<HWND>(data);
    const bool capturing = StateOf(dialog).capturing.has_value();
    if (capturing && message == WM_GETDLGCODE) return DLGC_WANTALLKEYS;
    if (capturing && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)) {
        if ((lParam & (1 << 30)) != 0) return 0;  // held since before
        if (wParam == VK_ESCAPE) {
            ControlsState& state = StateOf(dialog);
            state.capturing.reset();
            state.message.clear();
            Refresh(dialog);
            FocusOk(dialog);
        } else {
            Capture(dialog, PhysicalKeyOfScanCode(ScanCodeOfKeyMessage(lParam)));
        }
        return 0;
    }
    if (capturing && (message == WM_CHAR || message == WM_SYSCHAR)) return 0;
    return DefSubclassProc(button, message, wParam, lParam);
}

void StartCapture(HWND dialog, const KeySlot& slot) {
    ControlsState& state = StateOf(dialog);
    state.capturing = slot;
    state.message = "Press a key for " + SlotName(slot) + " (Escape keeps " +
                    PhysicalKeyName(state.settings.keys.At(slot)) + ").";
    SetFocus(GetDlgItem(dialog, ButtonOf(slot)));
    Refresh(dialog);
}

void EnableTiming(HWND dialog) {
    const bool on = IsDlgButtonChecked(dialog, BLOK_CONTROLS_REPEAT) == BST_CHECKED;
    EnableWindow(GetDlgItem(dialog, BLOK_CONTROLS_DELAY), on);
    EnableWindow(GetDlgItem(dialog, BLOK_CONTROLS_RATE), on);
}

int ReadMilliseconds(HWND dialog, int id, int minimum) {
    const auto value = static_cast<int>(GetDlgItemInt(dialog, id, nullptr, FALSE));
    return std::clamp(value, minimum, kMaxRepeatMs);
}

void InitControls(HWND dialog) {
    const ControlsState& state = StateOf(dialog);
    for (const KeySlot& slot : AllSlots()) {
        SetWindowSubclass(GetDlgItem(dialog, ButtonOf(slot)), KeyButtonProcedure, 0,
                          reinterpret_cast<DWORD_PTR>(dialog));
    }
    CheckDlgButton(dialog, BLOK_CONTROLS_REPEAT, state.settings.repeat.on ? BST_CHECKED : 0);
    CheckDlgButton(dialog, BLOK_CONTROLS_SWAP_PADS, state.settings.swapPads ? BST_CHECKED : 0);
    SetDlgItemInt(dialog, BLOK_CONTROLS_DELAY, static_cast<UINT>(state.settings.repeat.delayMs),
                  FALSE);
    SetDlgItemInt(dialog, BLOK_CONTROLS_RATE, static_cast<UINT>(state.settings.repeat.rateMs),
                  FALSE);
    EnableTiming(dialog);
    Refresh(dialog);
}

void ControlsCommand(HWND dialog, int id) {
    ControlsState& state = StateOf(dialog);
    for (const KeySlot& slot : AllSlots()) {
        if (id == ButtonOf(slot)) {
            StartCapture(dialog, slot);
            return;
        }
    }
    switch (id) {
        case BLOK_CONTROLS_REPEAT:
            EnableTiming(dialog);
            break;
        case BLOK_CONTROLS_SWAP_PADS:
            state.settings.swapPads =
                IsDlgButtonChecked(dialog, BLOK_CONTROLS_SWAP_PADS) == BST_CHECKED;
            Refresh(dialog);
            break;
        case BLOK_CONTROLS_DEFAULTS:
            state.settings.keys = DefaultKeyBindings();
            state.capturing.reset();
            state.message.clear();
            Refresh(dialog);
            break;
        case IDOK:
            state.settings.repeat.on =
                IsDlgButtonChecked(dialog, BLOK_CONTROLS_REPEAT) == BST_CHECKED;
            state.settings.repeat.delayMs =
                ReadMilliseconds(dialog, BLOK_CONTROLS_DELAY, kMinRepeatMs);
            state.settings.repeat.rateMs = ReadMilliseconds(dialog, BLOK_CONTROLS_RATE, 60);
            EndDialog(dialog, IDOK);
            break;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            break;
        default:
            break;
    }
}

INT_PTR CALLBACK ControlsProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            InitControls(dialog);
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) ControlsCommand(dialog, LOWORD(wParam));
            return TRUE;
        case WM_CLOSE:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

// --- the Volume dialog ----------------------------------------------------------------------

void ShowPercent(HWND dialog) {
    const auto value = SendDlgItemMessageW(dialog, BLOK_VOLUME_SLIDER, TBM_GETPOS, 0, 0);
    SetText(dialog, BLOK_VOLUME_PERCENT, std::to_string(value) + " %");
}

INT_PTR CALLBACK VolumeProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            const auto& settings = *reinterpret_cast<Settings*>(lParam);
            SendDlgItemMessageW(dialog, BLOK_VOLUME_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
            SendDlgItemMessageW(dialog, BLOK_VOLUME_SLIDER, TBM_SETPOS, TRUE, settings.volume);
            CheckDlgButton(dialog, BLOK_VOLUME_MUTE, settings.muted ? BST_CHECKED : 0);
            ShowPercent(dialog);
            return TRUE;
        }
        case WM_HSCROLL:
            ShowPercent(dialog);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                auto& settings = *reinterpret_cast<Settings*>(GetWindowLongPtrW(dialog, DWLP_USER));
                settings.volume = static_cast<int>(
                    SendDlgItemMessageW(dialog, BLOK_VOLUME_SLIDER, TBM_GETPOS, 0, 0));
                settings.muted = IsDlgButtonChecked(dialog, BLOK_VOLUME_MUTE) == BST_CHECKED;
                EndDialog(dialog, IDOK);
            } else if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
            }
            return TRUE;
        case WM_CLOSE:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

std::filesystem::path DefaultSettingsPath() {
    wchar_t folder[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK) {
        return {};
    }
    return std::filesystem::path(folder) / L"Blokfall" / L"Blokfall.conf";
}

Win32Options::Win32Options(Win32Platform& platform, std::filesystem::path path, Hooks hooks)
    : platform_(platform), path_(std::move(path)), hooks_(std::move(hooks)) {
    platform_.SetCommandHandler(kCmdZoom1, kCmdComputerHard, [this](int id) { OnCommand(id); });
}

void Win32Options::Start() {
    settings_ = path_.empty() ? Settings{} : LoadSettings(path_, damaged_);
    Apply();
}

void Win32Options::OnCommand(int id) {
    if (const std::optional<Settings> picked = AfterOptionsCommand(settings_, id)) {
        Change(*picked);
        return;
    }
    Settings changed = settings_;
    if (id == kCmdControls) {
        if (!RunControlsDialog(changed)) return;
    } else if (id == kCmdVolume) {
        if (!RunVolumeDialog(changed)) return;
    }
    Change(changed);
}

bool Win32Options::RunControlsDialog(Settings& settings) {
    ControlsState state{settings, {}, std::nullopt, {}};
    if (hooks_.padNames) state.pads = hooks_.padNames();
    const INT_PTR answer = DialogBoxParamW(platform_.Instance(), L"CONTROLS", platform_.Window(),
                                           ControlsProcedure, reinterpret_cast<LPARAM>(&state));
    if (answer != IDOK) return false;
    settings = state.settings;
    return true;
}

bool Win32Options::RunVolumeDialog(Settings& settings) {
    Settings chosen = settings;
    const INT_PTR answer = DialogBoxParamW(platform_.Instance(), L"VOLUME", platform_.Window(),
                                           VolumeProcedure, reinterpret_cast<LPARAM>(&chosen));
    if (answer != IDOK) return false;
    settings = chosen;
    return true;
}

void Win32Options::Change(const Settings& changed) {
    if (changed == settings_) return;
    settings_ = changed;
    Apply();
    if (!path_.empty()) SaveSettings(path_, settings_, damaged_);
    damaged_ = false;
}

void Win32Options::Apply() {
    platform_.SetZoom(settings_.zoom);
    platform_.SetFullScreen(settings_.fullScreen);
    for (const MenuCheck& check : OptionsMenuChecks(settings_, platform_.Zoom())) {
        platform_.CheckMenuItem(check.id, check.checked);
    }
    platform_.SetShownKeys(settings_.keys);
    if (hooks_.applyToGame) hooks_.applyToGame(settings_);
    if (hooks_.applyVolume) hooks_.applyVolume(settings_.volume, settings_.muted);
}

}  // namespace blok::win32
