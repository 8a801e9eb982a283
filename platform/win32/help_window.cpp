#include "help_window.h"

#include <string_view>

#include "wide_text.h"

namespace blok::win32 {

namespace {

constexpr wchar_t kHelpClass[] = L"BlokfallHelp";
constexpr DWORD kMaxHelpBytes = 4 * 1024 * 1024;
constexpr int kTextId = 1;

// The file's text with Windows line ends, or why it is not shown.
std::wstring HelpText(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return L"The help file " + path + L" was not found.";
    std::string bytes;
    LARGE_INTEGER size{};
    const bool regular = GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size);
    if (regular && size.QuadPart <= kMaxHelpBytes) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        if (!bytes.empty() &&
            !ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) {
            got = 0;
        }
        bytes.resize(got);
    }
    CloseHandle(file);
    if (!regular) return path + L" is not a regular file; it cannot be shown as help.";
    if (size.QuadPart > kMaxHelpBytes) {
        return L"The help file " + path + L" is larger than 4 MiB; it is not shown.";
    }
    std::wstring text;
    for (const wchar_t c : Wide(bytes)) {
        if (c == L'\n') text += L'\r';
        if (c != L'\r') text += c;
    }
    return text;
}

LRESULT CALLBACK HelpProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            MoveWindow(GetDlgItem(window, kTextId), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_SETFOCUS:
            SetFocus(GetDlgItem(window, kTextId));
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int RunHelpWindow(HINSTANCE instance, const std::wstring& path) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = HelpProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kHelpClass;
    RegisterClassW(&windowClass);
    HWND window =
        CreateWindowExW(0, kHelpClass, L"Blokfall Help", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    HWND text = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", HelpText(path).c_str(),
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 0,
        0, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextId)), instance, nullptr);
    SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 TRUE);
    ShowWindow(window, SW_SHOWDEFAULT);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Escape closes the viewer, as on Linux.
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
            DestroyWindow(window);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace blok::win32
