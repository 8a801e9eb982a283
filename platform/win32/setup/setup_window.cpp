#include "setup_window.h"

#include "gradient.h"

namespace blok::setup::win32 {

namespace {

const wchar_t* const kClassName = L"BlokfallSetup";
const wchar_t* const kTitle = L"SETUP - Blokfall";
// Posted by the first paint: dialogs cannot run inside the paint itself.
constexpr UINT kStartWork = WM_APP + 1;

struct WindowState {
    std::function<int(HWND)> work;
    bool firstPainted = false;
};

// A semi-bold italic serif whose whole character cell is 40 pixels high.
HFONT CreateTitleFont() {
    return CreateFontW(40, 0, 0, 0, FW_SEMIBOLD, TRUE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_STRING_PRECIS, CLIP_STROKE_PRECIS, DRAFT_QUALITY,
                       VARIABLE_PITCH | FF_ROMAN, L"Times New Roman");
}

void DrawTitle(HDC dc, int left, int top, COLORREF colour) {
    SetTextColor(dc, colour);
    TextOutW(dc, left, top, kTitle, static_cast<int>(wcslen(kTitle)));
}

LRESULT CALLBACK SetupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<WindowState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_CREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            return 0;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            DrawBackGround(window, dc);
            EndPaint(window, &paint);
            if (state && !state->firstPainted) {
                state->firstPainted = true;
                PostMessageW(window, kStartWork, 0, 0);
            }
            return 0;
        }
        case kStartWork:
            PostQuitMessage(state->work(window));
            return 0;
        case WM_NCDESTROY:
            delete state;
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

void DrawBackGround(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    for (const GradientBand& band : BackgroundBands(client.top, client.bottom)) {
        const RECT stripe{client.left, band.top, client.right, band.bottom};
        HBRUSH brush = CreateSolidBrush(RGB(0, 0, band.blue));
        FillRect(dc, &stripe, brush);
        DeleteObject(brush);
    }
    HFONT font = CreateTitleFont();
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    DrawTitle(dc, 12, 16, RGB(0, 0, 0));
    DrawTitle(dc, 8, 12, RGB(255, 255, 0));
    SetBkMode(dc, oldMode);
    if (font) {
        SelectObject(dc, previous);
        DeleteObject(font);
    }
}

HWND CreateSetupWindow(std::function<int(HWND)> work) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = SetupWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
    auto* state = new WindowState{std::move(work)};
    HWND window =
        CreateWindowExW(0, kClassName, kTitle, WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                        GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, state);
    if (window == nullptr) delete state;
    return window;
}

}  // namespace blok::setup::win32
