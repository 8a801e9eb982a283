#include "win32_platform.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "ids_and_sizes.h"
#include "key_codes.h"
#include "resource_ids.h"
#include "settings.h"
#include "shell.h"
#include "surface.h"
#include "wide_text.h"

namespace blok::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"WndClassName";
constexpr DWORD kWindowStyle =
    WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFullScreenStyle = WS_POPUP | WS_CLIPCHILDREN;

// Where the client area starts inside the outer rectangle the game computes with.
constexpr int kClientOffsetX = kFrameBorder;
constexpr int kClientOffsetY = kFrameBorder + kCaptionHeight + kMenuBarHeight;

Win32Platform* PlatformOf(HWND window) {
    return reinterpret_cast<Win32Platform*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

Rect ToRect(int left, int top, int width, int height) {
    return Rect{left, top, left + width, top + height};
}

// The virtual key that reads a physical key on the player's layout, or 0.
int VirtualKeyOf(PhysicalKey key) {
    const ScanCode code = ScanCodeOfPhysicalKey(key);
    if (code == 0) return 0;
    if ((code & kExtendedScanCode) != 0) return VirtualKeyOfExtendedScanCode(code);
    return static_cast<int>(MapVirtualKeyW(code, MAPVK_VSC_TO_VK_EX));
}

// The key names of the info dialog and the text of its pause line.
void FillInfoDialog(HWND dialog, const KeyBindings& keys) {
    for (int action = 0; action < kActions; ++action) {
        const KeySlot one{false, kOnePlayer, Action(action)};
        const KeySlot left{false, kLeftPlayer, Action(action)};
        SetDlgItemTextW(dialog, BLOK_INFO_KEY_FIRST + 2 * action,
                        Wide(PhysicalKeyName(keys.At(one))).c_str());
        SetDlgItemTextW(dialog, BLOK_INFO_KEY_FIRST + 2 * action + 1,
                        Wide(PhysicalKeyName(keys.At(left))).c_str());
    }
    const std::string pause = "Press [" + PhysicalKeyName(keys.pause) + "] for Pause";
    SetDlgItemTextW(dialog, BLOK_INFO_PAUSE, Wide(pause).c_str());
}

// The game info and about boxes: any command ends them, as does closing them.
INT_PTR CALLBACK InfoDialogProcedure(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            if (lParam != 0) FillInfoDialog(dialog, *reinterpret_cast<const KeyBindings*>(lParam));
            return FALSE;
        case WM_COMMAND:
        case WM_CLOSE:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

Win32Platform::Win32Platform(HINSTANCE instance) : instance_(instance) {}

Win32Platform::~Win32Platform() {
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    // A menu taken off the window for full screen is no longer destroyed with it.
    if (menu_ != nullptr && IsMenu(menu_)) DestroyMenu(menu_);
    if (accelerators_ != nullptr) DestroyAcceleratorTable(accelerators_);
}

template <typename Call>
void Win32Platform::Deliver(Call&& call) {
    if (shell_ && !quitPosted_) call(*shell_);
}

bool Win32Platform::CreateMainWindow() {
    WNDCLASSW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(BLOK_ICON_MAIN));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszClassName = kWindowClass;
    // A second window of the process shares the class the first registered.
    if (RegisterClassW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }
    menu_ = LoadMenuW(instance_, L"MENU_1");
    accelerators_ = LoadAcceleratorsW(instance_, L"ACCEL_1");

    // The client area is what the game measures; the desktop's frame goes around it.
    RECT outer{0, 0, ClientWidthForOuter(kWindowWidth), ClientHeightForOuter(kWindowHeight)};
    AdjustWindowRectEx(&outer, kWindowStyle, TRUE, 0);
    window_ = CreateWindowExW(0, kWindowClass, L"Blokfall", kWindowStyle, kInitialWindowLeft,
                              kInitialWindowTop, outer.right - outer.left, outer.bottom - outer.top,
                              nullptr, menu_, instance_, this);
    return window_ != nullptr;
}

void Win32Platform::ShowAndPaint() {
    if (window_ == nullptr) return;
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

int Win32Platform::Exec() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (accelerators_ != nullptr && window_ != nullptr &&
            TranslateAcceleratorW(window_, accelerators_, &message)) {
            continue;
        }
        // Escape leaves full screen whichever window of the game has the keyboard.
        if (fullScreen_ && message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
            Command(kCmdFullScreen);
            continue;
        }
        if (startDialog_ != nullptr && IsDialogMessageW(startDialog_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return quitPosted_ ? quitCode_ : static_cast<int>(message.wParam);
}

void Win32Platform::SetCommandHandler(int first, int last, std::function<void(int)> handler) {
    commandHandlers_.push_back({first, last, std::move(handler)});
}

void Win32Platform::Command(int id) {
    if (quitPosted_) return;
    for (const CommandRange& range : commandHandlers_) {
        if (id >= range.first && id <= range.last) {
            range.handler(id);
            return;
        }
    }
    Deliver([id](Shell& shell) { shell.OnCommand(id); });
}

// --- window procedure -----------------------------------------------------------------------

LRESULT CALLBACK Win32Platform::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* platform =
            static_cast<Win32Platform*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        platform->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(platform));
    }
    Win32Platform* platform = PlatformOf(window);
    if (platform == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return platform->Handle(message, wParam, lParam);
}

LRESULT Win32Platform::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            Deliver([](Shell& shell) { shell.OnCreate(); });
            return 0;
        case WM_DESTROY:
            Deliver([](Shell& shell) { shell.OnDestroy(); });
            window_ = nullptr;
            return 0;
        case WM_ACTIVATE: {
            const LRESULT result = DefWindowProcW(window_, message, wParam, lParam);
            if (LOWORD(wParam) != WA_INACTIVE) Deliver([](Shell& shell) { shell.OnActivate(); });
            return result;
        }
        case WM_ACTIVATEAPP:
            if (wParam == FALSE) Deliver([](Shell& shell) { shell.OnDeactivate(); });
            return 0;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_COMMAND:
            // Only the menu and its accelerators speak to the main window.
            if (lParam == 0) Command(LOWORD(wParam));
            return 0;
        case WM_TIMER:
            Deliver([id = static_cast<int>(wParam)](Shell& shell) { shell.OnTimer(id); });
            // The rows the tick named are shown as soon as its handler is done.
            if (window_ != nullptr) UpdateWindow(window_);
            return 0;
        case WM_SIZE:
            PlaceStartDialog();
            return DefWindowProcW(window_, message, wParam, lParam);
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

// --- timers ---------------------------------------------------------------------------------

void Win32Platform::SetTimer(int id, int milliseconds) {
    if (quitPosted_ || window_ == nullptr) return;
    // Starting an id again replaces its timer, so the countdown starts afresh.
    ::SetTimer(window_, static_cast<UINT_PTR>(id), static_cast<UINT>(std::max(0, milliseconds)),
               nullptr);
}

void Win32Platform::KillTimer(int id) {
    if (window_ != nullptr) ::KillTimer(window_, static_cast<UINT_PTR>(id));
}

// --- painting -------------------------------------------------------------------------------

SIZE Win32Platform::ClientPixels() const {
    RECT client{};
    if (window_ != nullptr) GetClientRect(window_, &client);
    return SIZE{client.right, client.bottom};
}

SIZE Win32Platform::LogicalClient() const {
    if (fullScreen_) return logicalClient_;
    const SIZE pixels = ClientPixels();
    return SIZE{pixels.cx / zoom_, pixels.cy / zoom_};
}

FrameView Win32Platform::View() const {
    const SIZE pixels = ClientPixels();
    const SIZE logical = LogicalClient();
    return ViewFor(fullScreen_, zoom_, pixels.cx, pixels.cy, logical.cx, logical.cy);
}

void Win32Platform::InvalidateAll() {
    if (window_ != nullptr) InvalidateRect(window_, nullptr, FALSE);
}

void Win32Platform::InvalidateTop(int bottom) {
    InvalidateFrameRows(0, bottom);
}

void Win32Platform::InvalidateRows(int top, int bottom) {
    InvalidateFrameRows(top, bottom);
}

void Win32Platform::InvalidateFrameRows(int top, int bottom) {
    if (window_ == nullptr || bottom <= top) return;
    const FrameView view = View();
    const SIZE logical = LogicalClient();
    const RECT rows{view.left, view.top + top * view.scale, view.left + logical.cx * view.scale,
                    view.top + bottom * view.scale};
    InvalidateRect(window_, &rows, FALSE);
}

void Win32Platform::Paint() {
    PAINTSTRUCT paint{};
    paintDc_ = BeginPaint(window_, &paint);
    paintRect_ = paint.rcPaint;
    if (fullScreen_) FillAroundFrame(paintDc_, paintRect_);
    Deliver([](Shell& shell) { shell.OnPaint(); });
    if (pausedMarker_) DrawPausedMarker(paintDc_);
    EndPaint(window_, &paint);
    paintDc_ = nullptr;
}

void Win32Platform::Present(const Surface& surface, int width, int height) {
    const int shownWidth = std::min(width, surface.Width());
    const int shownHeight = std::min(height, surface.Height());
    // Only a paint reaches the screen; it puts the rows that were asked for.
    if (paintDc_ == nullptr || shownWidth <= 0 || shownHeight <= 0) return;
    PutFrame(paintDc_, surface, shownWidth, shownHeight, paintRect_);
}

// The rows go to the screen straight from the surface's memory, a top-down 32-bit picture whose
// pixels are already in the layout the window system reads.
void Win32Platform::PutFrame(HDC dc, const Surface& surface, int width, int height,
                             const RECT& paint) {
    const FrameView view = View();
    const FrameRows rows = RowsToPut(view, height, paint.top, paint.bottom);
    if (rows.top >= rows.bottom) return;
    const int count = rows.bottom - rows.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = surface.Width();
    info.bmiHeader.biHeight = -count;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const std::uint32_t* first = surface.Pixels() + static_cast<std::size_t>(rows.top) *
                                                        static_cast<std::size_t>(surface.Width());
    const int destTop = view.top + rows.top * view.scale;
    if (view.scale == 1) {
        SetDIBitsToDevice(dc, view.left, destTop, static_cast<DWORD>(width),
                          static_cast<DWORD>(count), 0, 0, 0, static_cast<UINT>(count), first,
                          &info, DIB_RGB_COLORS);
    } else {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, view.left, destTop, width * view.scale, count * view.scale, 0, 0, width,
                      count, first, &info, DIB_RGB_COLORS, SRCCOPY);
    }
}

// Full screen: black around the frame.
void Win32Platform::FillAroundFrame(HDC dc, const RECT& paint) {
    const FrameView view = View();
    const SIZE logical = LogicalClient();
    const RECT frame{view.left, view.top, view.left + logical.cx * view.scale,
                     view.top + logical.cy * view.scale};
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, frame.left, frame.top, frame.right, frame.bottom);
    FillRect(dc, &paint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    RestoreDC(dc, saved);
}

// A black box with "Paused" in the middle of the frame.
void Win32Platform::DrawPausedMarker(HDC dc) {
    const FrameView view = View();
    const SIZE logical = LogicalClient();
    const int centreX = view.left + std::min<int>(logical.cx, kGameFrameWidth) * view.scale / 2;
    const int centreY = view.top + std::min<int>(logical.cy, kGameFrameHeight) * view.scale / 2;
    HFONT font = CreateFontW(-16 * view.scale, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
    HGDIOBJ before = SelectObject(dc, font);
    SIZE text{};
    GetTextExtentPoint32W(dc, L"Paused", 6, &text);
    const RECT box{centreX - text.cx / 2 - 12, centreY - text.cy / 2 - 6,
                   centreX + text.cx / 2 + 12, centreY + text.cy / 2 + 6};
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    RECT textBox = box;
    DrawTextW(dc, L"Paused", 6, &textBox, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, before);
    DeleteObject(font);
}

void Win32Platform::ShowPausedMarker(bool shown) {
    if (pausedMarker_ == shown) return;
    pausedMarker_ = shown;
    InvalidateAll();
}

// --- window geometry ------------------------------------------------------------------------

Rect Win32Platform::ClientRect() const {
    const SIZE logical = LogicalClient();
    return window_ != nullptr ? ToRect(0, 0, logical.cx, logical.cy) : Rect{};
}

Rect Win32Platform::WindowRect() const {
    if (window_ == nullptr) return Rect{};
    RECT outer{};
    if (fullScreen_) {
        outer = windowedRect_;
    } else {
        GetWindowRect(window_, &outer);
    }
    const SIZE logical = LogicalClient();
    return ToRect(outer.left, outer.top, logical.cx + kFrameExtraWidth,
                  logical.cy + kFrameExtraHeight);
}

void Win32Platform::MoveWindow(int left, int top, int width, int height) {
    if (window_ == nullptr) return;
    const SIZE client{ClientWidthForOuter(width), ClientHeightForOuter(height)};
    const Rect before = WindowRect();
    if (fullScreen_) {
        logicalClient_ = client;  // the size the window takes when full screen ends
    } else {
        SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ResizeClient(SIZE{client.cx * zoom_, client.cy * zoom_});
    }
    // As the system's own move does, a window that stays as it was is not painted again. A
    // network joiner starts its game from a paint and moves the window there; repainting it each
    // time would keep paints queued without end, and no timer (the network's among them) would
    // come through.
    if (WindowRect() != before) InvalidateRect(window_, nullptr, FALSE);
}

// Sizes the window so that its client area is exactly `client`, whatever the desktop's frame
// and however the menu bar wraps.
void Win32Platform::ResizeClient(SIZE client) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const SIZE now = ClientPixels();
        if (now.cx == client.cx && now.cy == client.cy) return;
        RECT outer{};
        GetWindowRect(window_, &outer);
        SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left + client.cx - now.cx,
                     outer.bottom - outer.top + client.cy - now.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

int Win32Platform::LargestFittingZoom() const {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return kMaxZoom;
    }
    RECT frame{};
    AdjustWindowRectEx(&frame, kWindowStyle, TRUE, 0);
    const SIZE client = fullScreen_ ? logicalClient_ : LogicalClient();
    const RECT& room = monitor.rcWork;
    return blok::LargestFittingZoom(client.cx, client.cy, frame.right - frame.left,
                                    frame.bottom - frame.top, room.right - room.left,
                                    room.bottom - room.top);
}

void Win32Platform::SetZoom(int zoom) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (window_ == nullptr) {
        zoom_ = zoom;
        return;
    }
    // Zooms the screen cannot hold are not offered; a stored one shows at the largest that fits.
    const int fitting = LargestFittingZoom();
    for (int each = kMinZoom; each <= kMaxZoom; ++each) {
        EnableMenuItem(kCmdZoom1 + each - 1, each <= fitting);
    }
    zoom = std::min(zoom, fitting);
    const SIZE logical = LogicalClient();
    zoom_ = zoom;
    if (!fullScreen_) ResizeClient(SIZE{logical.cx * zoom_, logical.cy * zoom_});
    PlaceStartDialog();
    InvalidateRect(window_, nullptr, TRUE);
}

void Win32Platform::SetFullScreen(bool on) {
    if (window_ == nullptr || on == fullScreen_) return;
    if (on) {
        logicalClient_ = LogicalClient();
        GetWindowRect(window_, &windowedRect_);
        fullScreen_ = true;
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
        SetMenu(window_, nullptr);
        SetWindowLongPtrW(window_, GWL_STYLE, static_cast<LONG_PTR>(kFullScreenStyle | WS_VISIBLE));
        const RECT& screen = monitor.rcMonitor;
        SetWindowPos(window_, HWND_TOP, screen.left, screen.top, screen.right - screen.left,
                     screen.bottom - screen.top, SWP_FRAMECHANGED);
    } else {
        fullScreen_ = false;
        SetWindowLongPtrW(window_, GWL_STYLE, static_cast<LONG_PTR>(kWindowStyle | WS_VISIBLE));
        SetMenu(window_, menu_);
        SetWindowPos(window_, nullptr, windowedRect_.left, windowedRect_.top,
                     windowedRect_.right - windowedRect_.left,
                     windowedRect_.bottom - windowedRect_.top, SWP_NOZORDER | SWP_FRAMECHANGED);
        ResizeClient(SIZE{logicalClient_.cx * zoom_, logicalClient_.cy * zoom_});
    }
    PlaceStartDialog();
    InvalidateRect(window_, nullptr, TRUE);
}

void Win32Platform::FocusMainWindow() {
    if (window_ != nullptr) SetFocus(window_);
}

void Win32Platform::PostQuit(int code) {
    if (quitPosted_) return;
    quitPosted_ = true;
    quitCode_ = code;
    if (window_ != nullptr) {
        for (const int id : {kTimerTitlePicture, kTimerTitleStep, kTimerGravity, kTimerInput,
                             kTimerMusicPoll, kTimerSpeedUp, kTimerHiscoreCheck}) {
            ::KillTimer(window_, static_cast<UINT_PTR>(id));
        }
    }
    PostQuitMessage(code);  // ends nested dialog loops too
}

// --- menu -----------------------------------------------------------------------------------

void Win32Platform::CheckMenuItem(int id, bool checked) {
    if (menu_ != nullptr) {
        ::CheckMenuItem(menu_, static_cast<UINT>(id),
                        MF_BYCOMMAND | static_cast<UINT>(checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

void Win32Platform::EnableMenuItem(int id, bool enabled) {
    if (menu_ != nullptr) {
        ::EnableMenuItem(menu_, static_cast<UINT>(id),
                         MF_BYCOMMAND | static_cast<UINT>(enabled ? MF_ENABLED : MF_GRAYED));
    }
}

// --- keyboard -------------------------------------------------------------------------------

// The asynchronous reading's low bit: the key went down since the last such reading.
bool Win32Platform::PressedSinceLastRead(int key) {
    if (IsPadKey(key)) {
        return pads_ && pads_->PressedSinceLastRead(PadOfKey(key), PadButtonOfKey(key));
    }
    const int virtualKey = VirtualKeyOf(key);
    return virtualKey != 0 && (GetAsyncKeyState(virtualKey) & 0x0001) != 0;
}

// The thread's keyboard state: the key is down as the messages handled so far say.
bool Win32Platform::Held(int key) {
    if (IsPadKey(key)) return pads_ && pads_->Held(PadOfKey(key), PadButtonOfKey(key));
    const int virtualKey = VirtualKeyOf(key);
    return virtualKey != 0 && (GetKeyState(virtualKey) & 0x8000) != 0;
}

// --- start dialog ---------------------------------------------------------------------------

INT_PTR CALLBACK Win32Platform::StartDialogProcedure(HWND dialog, UINT message, WPARAM wParam,
                                                     LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* platform = reinterpret_cast<Win32Platform*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return platform != nullptr ? platform->HandleStartDialog(dialog, message, wParam) : FALSE;
}

INT_PTR Win32Platform::HandleStartDialog(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG: {
            startDialog_ = dialog;
            RECT placed{};
            GetWindowRect(dialog, &placed);
            MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&placed), 2);
            startDialogHome_ = POINT{placed.left, placed.top};
            RecordStartDialogLayout(dialog);
            PlaceStartDialog();
            Deliver([](Shell& shell) { shell.StartDialogInit(); });
            return TRUE;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                const int id = LOWORD(wParam);
                Deliver([id](Shell& shell) { shell.StartDialogCommand(id); });
            }
            return TRUE;
        default:
            return FALSE;
    }
}

bool Win32Platform::CreateStartDialog() {
    if (window_ == nullptr) return false;
    DestroyStartDialog();
    HWND dialog = CreateDialogParamW(instance_, L"DIALOG_1", window_, StartDialogProcedure,
                                     reinterpret_cast<LPARAM>(this));
    if (dialog == nullptr) return false;
    startDialog_ = dialog;
    FocusStartDialog();
    return true;
}

void Win32Platform::DestroyStartDialog() {
    if (startDialog_ == nullptr) return;
    HWND dialog = startDialog_;
    startDialog_ = nullptr;
    DestroyWindow(dialog);
    ReleaseEnlargedFont();
    startLayout_ = {};
}

void Win32Platform::RecordStartDialogLayout(HWND dialog) {
    RECT client{};
    GetClientRect(dialog, &client);
    startLayout_.size = SIZE{client.right, client.bottom};
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        RECT place{};
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        startLayout_.controls.emplace_back(control, place);
    }
    const auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (font != nullptr) GetObjectW(font, sizeof(startLayout_.font), &startLayout_.font);
}

// Every control and its lettering grow by the frame's scale, so the dialog covers the same part
// of the enlarged frame as at 1x.
void Win32Platform::ScaleStartDialog(int scale) {
    if (scale == startLayout_.scale) return;
    LOGFONTW font = startLayout_.font;
    font.lfHeight *= scale;
    font.lfWidth *= scale;
    const HFONT enlarged = scale > 1 ? CreateFontIndirectW(&font) : nullptr;
    const auto shown = enlarged != nullptr
                           ? enlarged
                           : reinterpret_cast<HFONT>(SendMessageW(startDialog_, WM_GETFONT, 0, 0));
    for (const auto& [control, place] : startLayout_.controls) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(shown), FALSE);
        ::MoveWindow(control, place.left * scale, place.top * scale,
                     (place.right - place.left) * scale, (place.bottom - place.top) * scale, FALSE);
    }
    SetWindowPos(startDialog_, nullptr, 0, 0, startLayout_.size.cx * scale,
                 startLayout_.size.cy * scale, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ReleaseEnlargedFont();
    startLayout_.enlargedFont = enlarged;
    startLayout_.scale = scale;
}

void Win32Platform::ReleaseEnlargedFont() {
    if (startLayout_.enlargedFont != nullptr) DeleteObject(startLayout_.enlargedFont);
    startLayout_.enlargedFont = nullptr;
}

void Win32Platform::FocusStartDialog() {
    if (startDialog_ == nullptr) return;
    HWND focus = GetFocus();
    if (focus == nullptr || !IsChild(startDialog_, focus)) {
        SetFocus(GetNextDlgTabItem(startDialog_, nullptr, FALSE));
    }
}

void Win32Platform::CheckRadioButton(int first, int last, int checked) {
    if (startDialog_ != nullptr) ::CheckRadioButton(startDialog_, first, last, checked);
}

Rect Win32Platform::StartDialogRect() const {
    if (startDialog_ == nullptr || window_ == nullptr) return Rect{};
    // In game pixels: the dialog grows with an enlarged frame.
    RECT size{};
    GetWindowRect(startDialog_, &size);
    const int scale = View().scale;
    const Rect window = WindowRect();
    return ToRect(window.left + kClientOffsetX + startDialogHome_.x,
                  window.top + kClientOffsetY + startDialogHome_.y,
                  (size.right - size.left) / scale, (size.bottom - size.top) / scale);
}

// The dialog stands where it belongs on the frame, however large the frame is shown.
void Win32Platform::PlaceStartDialog() {
    if (startDialog_ == nullptr) return;
    const FrameView view = View();
    ScaleStartDialog(view.scale);
    // Drawn afresh where it lands: the old place's pixels may hold the class background.
    SetWindowPos(startDialog_, nullptr, view.left + startDialogHome_.x * view.scale,
                 view.top + startDialogHome_.y * view.scale, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    RedrawWindow(startDialog_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// --- modal dialogs and help -----------------------------------------------------------------

void Win32Platform::RunInfoDialog() {
    DialogBoxParamW(instance_, L"DIALOG_5", window_, InfoDialogProcedure,
                    reinterpret_cast<LPARAM>(&shownKeys_));
}

void Win32Platform::RunAboutDialog() {
    DialogBoxParamW(instance_, MAKEINTRESOURCEW(BLOK_ABOUT), window_, InfoDialogProcedure, 0);
}

void Win32Platform::ShowMessage(std::string_view text, std::string_view caption) {
    MessageBoxW(window_, Wide(std::string(text)).c_str(), Wide(std::string(caption)).c_str(),
                MB_OK);
}

void Win32Platform::OpenHelp(const std::string& path) {
    // The viewer is this program again; a failed start is not reported.
    wchar_t program[MAX_PATH] = {};
    if (GetModuleFileNameW(nullptr, program, MAX_PATH) == 0) return;
    const std::wstring arguments = L"--help-viewer \"" + Wide(path) + L"\"";
    ShellExecuteW(window_, L"open", program, arguments.c_str(), nullptr, SW_SHOWDEFAULT);
}

}  // namespace blok::win32
