#include "win32_setup_host.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <filesystem>

#include "setup_ids.h"
#include "wide_text.h"

namespace blok::setup::win32 {

namespace {

using blok::win32::Utf8;
using blok::win32::Wide;

HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}

std::wstring DialogItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The folder chooser opens at the typed folder, or at the nearest folder above it that exists.
std::wstring StartFolder(const std::wstring& typed) {
    std::error_code error;
    std::filesystem::path folder = typed;
    while (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
        if (folder == folder.parent_path()) return {};
        folder = folder.parent_path();
    }
    return folder.wstring();
}

int CALLBACK BrowseCallback(HWND chooser, UINT message, LPARAM, LPARAM start) {
    if (message == BFFM_INITIALIZED && start != 0) {
        SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE, start);
    }
    return 0;
}

void Browse(HWND dialog) {
    const std::wstring start = StartFolder(DialogItemText(dialog, BLOK_IDC_PATH));
    BROWSEINFOW info{};
    info.hwndOwner = dialog;
    info.lpszTitle = L"Choose a Folder";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    if (PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info)) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(chosen, path)) SetDlgItemTextW(dialog, BLOK_IDC_PATH, path);
        CoTaskMemFree(chosen);
    }
    SetFocus(GetDlgItem(dialog, BLOK_IDC_PATH));
}

// The path dialog keeps the proposal going in and the typed text coming out in its user data.
INT_PTR CALLBACK PathDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* text = reinterpret_cast<std::wstring*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SetDlgItemTextW(dialog, BLOK_IDC_PATH,
                            reinterpret_cast<std::wstring*>(lParam)->c_str());
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    *text = DialogItemText(dialog, BLOK_IDC_PATH);
                    EndDialog(dialog, IDOK);
                    return TRUE;
                case IDCANCEL:
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
                case BLOK_IDC_BROWSE:
                    Browse(dialog);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK ProgressDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

bool DispatchWaitingMessages(HWND dialog) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));  // for the main loop to see
            return false;
        }
        if (dialog != nullptr && IsDialogMessageW(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

Win32SetupHost::Win32SetupHost(HWND owner) : owner_(owner) {}

Win32SetupHost::~Win32SetupHost() {
    CloseProgress();
}

std::optional<std::string> Win32SetupHost::AskInstallPath(const std::string& proposal) {
    std::wstring text = Wide(proposal);
    const INT_PTR answer = DialogBoxParamW(Instance(), MAKEINTRESOURCEW(BLOK_DLG_INSTALL_PATH),
                                           owner_, PathDialogProc, reinterpret_cast<LPARAM>(&text));
    if (answer != IDOK) return std::nullopt;
    return Utf8(text);
}

void Win32SetupHost::ShowMessage(const std::string& text, const std::string& caption) {
    MessageBoxW(owner_, Wide(text).c_str(), Wide(caption).c_str(), MB_OK);
}

bool Win32SetupHost::AskYesNo(const std::string& text, const std::string& caption) {
    // Enter keeps the user's files.
    const UINT style = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
    return MessageBoxW(owner_, Wide(text).c_str(), Wide(caption).c_str(), style) == IDYES;
}

void Win32SetupHost::OpenProgress(int range) {
    CloseProgress();
    progress_ = CreateDialogParamW(Instance(), MAKEINTRESOURCEW(BLOK_DLG_PROGRESS), owner_,
                                   ProgressDialogProc, 0);
    SendDlgItemMessageW(progress_, BLOK_IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, range);
    SendDlgItemMessageW(progress_, BLOK_IDC_PROGRESS_BAR, PBM_SETPOS, 0, 0);
    ShowWindow(progress_, SW_SHOW);
    UpdateWindow(progress_);
}

void Win32SetupHost::SetProgressText(const std::string& text) {
    if (progress_) SetDlgItemTextW(progress_, BLOK_IDC_PROGRESS_TEXT, Wide(text).c_str());
}

void Win32SetupHost::SetProgressPosition(int position) {
    if (progress_) {
        SendDlgItemMessageW(progress_, BLOK_IDC_PROGRESS_BAR, PBM_SETPOS,
                            static_cast<WPARAM>(position), 0);
    }
}

void Win32SetupHost::CloseProgress() {
    if (progress_) DestroyWindow(progress_);
    progress_ = nullptr;
}

void Win32SetupHost::Pause(int milliseconds) {
    // The windows keep painting while the installer waits.
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        if (!DispatchWaitingMessages(progress_)) return;
    }
}

void Win32SetupHost::OpenFolder(const std::string& folder) {
    ShellExecuteW(owner_, L"open", L"explorer.exe", Wide(folder).c_str(), nullptr, SW_SHOWDEFAULT);
}

}  // namespace blok::setup::win32
