// blokinst for Windows: copies Blokfall from the folder it is started in to a folder the user
// chooses, adds the game and its help to the Start menu and lists the installation among the
// user's programs. `--uninstall FOLDER [--quiet]` removes such an installation again.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <filesystem>
#include <string>
#include <vector>

#include "leftovers.h"
#include "setup_flow.h"
#include "setup_window.h"
#include "wide_text.h"
#include "win32_setup_host.h"

namespace {

namespace fs = std::filesystem;
namespace setup = blok::setup;

constexpr const wchar_t* kUsage =
    L"Usage: blokinst [--uninstall FOLDER [--quiet]]\n\n"
    L"Without arguments: installs Blokfall from the current folder.\n"
    L"--uninstall FOLDER: removes the Blokfall installed in FOLDER; with --quiet it asks nothing "
    L"and keeps hiscore.dat.";
// The copy of the uninstaller that runs from the temporary folder, so that the installed one can
// be removed with its folder. Copies whose process is gone are removed by the next uninstall.
constexpr const char* kTemporaryPrefix = "blokinst-uninstall-";

fs::path OwnProgram() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

int RunInstaller() {
    std::error_code ignored;
    const fs::path here = fs::current_path(ignored);
    const setup::SetupContext context{here, here, setup::DataDirs::FromEnvironment(), "",
                                      OwnProgram()};
    HWND window = setup::win32::CreateSetupWindow([&](HWND owner) {
        setup::win32::Win32SetupHost host(owner);
        return setup::RunSetup(context, host);
    });
    if (window == nullptr) return 1;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DestroyWindow(window);
    return static_cast<int>(message.wParam);
}

bool SameFolder(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::equivalent(a, b, error);
}

// Starts the temporary copy of this program on the same uninstall; it waits for this one to end.
bool HandOverToTemporaryCopy(const fs::path& installPath, bool quiet) {
    wchar_t folder[MAX_PATH + 1] = {};
    if (GetTempPathW(MAX_PATH + 1, folder) == 0) return false;
    blok::RemoveLeftovers(blok::win32::Utf8(folder), kTemporaryPrefix);
    const fs::path copy =
        fs::path(folder) / (blok::TemporaryFileName(kTemporaryPrefix, 0) + ".exe");
    if (!CopyFileW(OwnProgram().c_str(), copy.c_str(), FALSE)) return false;
    std::wstring line =
        L"\"" + copy.wstring() + L"\" --uninstall \"" + installPath.wstring() + L"\"";
    if (quiet) line += L" --quiet";
    line += L" --wait " + std::to_wstring(GetCurrentProcessId());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(copy.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder,
                        &startup, &process)) {
        DeleteFileW(copy.c_str());
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void WaitForProcess(DWORD pid) {
    if (HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid)) {
        constexpr DWORD kMostMilliseconds = 10000;
        WaitForSingleObject(process, kMostMilliseconds);
        CloseHandle(process);
    }
}

// The folder as a full path without a trailing separator, as the installer recorded it.
fs::path FullFolder(const std::wstring& typed) {
    std::error_code ignored;
    fs::path folder = fs::absolute(typed, ignored).lexically_normal();
    if (!folder.has_filename() && folder.has_relative_path()) folder = folder.parent_path();
    return folder;
}

int RunUninstaller(const fs::path& folder, bool quiet, DWORD waitFor) {
    const fs::path program = OwnProgram();
    if (waitFor == 0 && SameFolder(program.parent_path(), folder)) {
        if (HandOverToTemporaryCopy(folder, quiet)) return 0;
    }
    if (waitFor != 0) WaitForProcess(waitFor);
    setup::win32::Win32SetupHost host(nullptr);
    const int status = setup::RunUninstall(folder, setup::DataDirs::FromEnvironment(), host, quiet);
    // The temporary copy cannot remove itself while it runs; an administrator's is removed at
    // the next start of Windows, anyone else's by the next uninstall.
    if (waitFor != 0) MoveFileExW(program.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return status;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    CoInitialize(nullptr);
    int count = 0;
    wchar_t** list = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::vector<std::wstring> arguments(list, list + count);
    LocalFree(list);

    int status = 2;
    if (arguments.size() == 1) {
        status = RunInstaller();
    } else if (arguments.size() >= 3 && arguments[1] == L"--uninstall") {
        bool quiet = false;
        DWORD waitFor = 0;
        bool understood = true;
        for (std::size_t i = 3; i < arguments.size(); ++i) {
            if (arguments[i] == L"--quiet") {
                quiet = true;
            } else if (arguments[i] == L"--wait" && i + 1 < arguments.size()) {
                waitFor = static_cast<DWORD>(std::wcstoul(arguments[++i].c_str(), nullptr, 10));
            } else {
                understood = false;
            }
        }
        if (understood) status = RunUninstaller(FullFolder(arguments[2]), quiet, waitFor);
    }
    if (status == 2) MessageBoxW(nullptr, kUsage, L"blokinst", MB_OK);
    CoUninitialize();
    return status;
}
