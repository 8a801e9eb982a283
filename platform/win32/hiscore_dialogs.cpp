#include "hiscore_dialogs.h"

#include <cstdio>

#include "resource_ids.h"
#include "wide_text.h"

namespace blok::win32 {

namespace {

// Room for the characters a name may have, and more: the table keeps its first bytes only.
constexpr int kNameEditLimit = 64;

// The name entry: OK (also Enter) or closing takes the name as it stands; Escape does nothing.
INT_PTR CALLBACK NameDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SendDlgItemMessageW(dialog, BLOK_NAME_EDIT, EM_LIMITTEXT, kNameEditLimit, 0);
            SetDlgItemTextW(dialog, BLOK_NAME_EDIT, L"Nobody");
            return TRUE;  // the edit field takes the focus, its text selected
        case WM_COMMAND:
            if (LOWORD(wParam) != BLOK_NAME_OK) return FALSE;
            [[fallthrough]];
        case WM_CLOSE: {
            wchar_t typed[kNameEditLimit + 1] = {};
            GetDlgItemTextW(dialog, BLOK_NAME_EDIT, typed, kNameEditLimit + 1);
            *reinterpret_cast<std::string*>(GetWindowLongPtrW(dialog, DWLP_USER)) = Utf8(typed);
            EndDialog(dialog, 0);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK TableDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const auto& table = *reinterpret_cast<const HiscoreTable*>(lParam);
            for (int entry = 0; entry < kHiscoreEntries; ++entry) {
                const std::string row = DisplayUtf8(HiscoreRowText(table, entry));
                SetDlgItemTextW(dialog, BLOK_TABLE_FIRST_ROW + 2 * entry, Wide(row).c_str());
                SetDlgItemTextW(dialog, BLOK_TABLE_FIRST_ROW + 2 * entry + 1,
                                Wide(HiscorePointsText(table, entry)).c_str());
            }
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) != BLOK_TABLE_OK && LOWORD(wParam) != IDCANCEL) return FALSE;
            [[fallthrough]];
        case WM_CLOSE:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

std::string Win32HiscoreDialogs::RunNameDialog() {
    std::string name = "Nobody";
    DialogBoxParamW(instance_, L"DIALOG_2", owner_, NameDialogProcedure,
                    reinterpret_cast<LPARAM>(&name));
    return name;
}

void Win32HiscoreDialogs::RunScoreTable(const HiscoreTable& table) {
    DialogBoxParamW(instance_, L"DIALOG_3", owner_, TableDialogProcedure,
                    reinterpret_cast<LPARAM>(&table));
}

void Win32HiscoreDialogs::ReportSaveFailure(const std::string& text) {
    // On the console too, where there is one.
    std::fprintf(stderr, "Blokfall: %s\n", text.c_str());
    MessageBoxW(owner_, Wide(text).c_str(), L"Hiscore", MB_OK | MB_ICONWARNING);
}

}  // namespace blok::win32
