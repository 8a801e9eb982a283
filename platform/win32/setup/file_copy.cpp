// The whole-or-nothing file writes of file_copy.h with Win32 calls: the file is made under a
// temporary name beside its place and moved over the old one only when complete.
#include "file_copy.h"

#include <windows.h>

#include <functional>

#include "install_paths.h"
#include "leftovers.h"

namespace blok::setup {

namespace fs = std::filesystem;

namespace {

std::error_code LastError() {
    return {static_cast<int>(GetLastError()), std::system_category()};
}

// Makes the temporary file through `create` under a name nobody else uses, ".NAME.part-PID-N",
// after removing those that installers killed halfway left there. False when none could be made.
bool CreateTemporaryBeside(const fs::path& destination, fs::path& temporary,
                           const std::function<bool(const fs::path&)>& create) {
    const std::string prefix = "." + Utf8FromPath(destination.filename()) + ".part-";
    RemoveLeftovers(Utf8FromPath(destination.parent_path()), prefix);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        temporary = destination.parent_path() / PathFromUtf8(TemporaryFileName(prefix, attempt));
        if (create(temporary)) return true;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return false;
}

// Moves the complete temporary file into place; removes it when that fails.
std::error_code PutInPlace(const fs::path& temporary, const fs::path& destination) {
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (MoveFileExW(temporary.wstring().c_str(), destination.wstring().c_str(), flags)) return {};
    const std::error_code error = LastError();
    DeleteFileW(temporary.wstring().c_str());
    return error;
}

bool WriteAll(HANDLE file, std::string_view text) {
    while (!text.empty()) {
        DWORD written = 0;
        if (!WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
            return false;
        }
        text.remove_prefix(written);
    }
    return true;
}

}  // namespace

std::error_code InstallCopy(const fs::path& source, const fs::path& destination) {
    const DWORD attributes = GetFileAttributesW(source.wstring().c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return LastError();
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    fs::path temporary;
    const auto copy = [&](const fs::path& to) {
        return CopyFileW(source.wstring().c_str(), to.wstring().c_str(), TRUE) != 0;
    };
    if (!CreateTemporaryBeside(destination, temporary, copy)) {
        const std::error_code error = LastError();
        DeleteFileW(temporary.wstring().c_str());  // a copy that failed halfway
        return error;
    }
    return PutInPlace(temporary, destination);
}

std::error_code InstallText(std::string_view text, const fs::path& destination) {
    fs::path temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    const auto create = [&](const fs::path& path) {
        file = CreateFileW(path.wstring().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        return file != INVALID_HANDLE_VALUE;
    };
    if (!CreateTemporaryBeside(destination, temporary, create)) return LastError();
    std::error_code error;
    if (!WriteAll(file, text) || !FlushFileBuffers(file)) error = LastError();
    if (!CloseHandle(file) && !error) error = LastError();
    if (error) {
        DeleteFileW(temporary.wstring().c_str());
        return error;
    }
    return PutInPlace(temporary, destination);
}

}  // namespace blok::setup
