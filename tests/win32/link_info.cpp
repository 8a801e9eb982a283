// Prints what a shell link holds, one "key=value" line each, in UTF-8: the end-to-end check of
// the installer reads the Start-menu entries back with it.
// Usage: link_info FILE.lnk
#include <fcntl.h>
#include <io.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "wide_text.h"

namespace {

void Print(const char* key, const wchar_t* value) {
    std::printf("%s=%s\n", key, blok::win32::Utf8(value).c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    _setmode(_fileno(stdout), _O_BINARY);  // "\n", not "\r\n"
    CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    int status = 1;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(argv[1], STGM_READ))) {
        wchar_t text[MAX_PATH * 2] = {};
        link->GetPath(text, MAX_PATH * 2, nullptr, SLGP_RAWPATH);
        Print("path", text);
        link->GetWorkingDirectory(text, MAX_PATH * 2);
        Print("directory", text);
        link->GetArguments(text, MAX_PATH * 2);
        Print("arguments", text);
        link->GetDescription(text, MAX_PATH * 2);
        Print("description", text);
        status = 0;
    }
    if (file) file->Release();
    if (link) link->Release();
    CoUninitialize();
    return status;
}
