#include "file_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>

#include "leftovers.h"

namespace blok::setup {

namespace fs = std::filesystem;

namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// Closes a descriptor once, reporting the error of the close itself (some file systems only
// report a full disk there).
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    std::error_code Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? std::error_code{} : LastError();
    }

  private:
    int fd_;
};

std::error_code WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return LastError();
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return {};
}

// Creates a file beside `destination` under a name nobody else uses, ".NAME.part-PID-N", after
// removing those that installers killed halfway left there.
int CreateTemporaryBeside(const fs::path& destination, mode_t mode, fs::path& temporary) {
    const std::string prefix = "." + destination.filename().string() + ".part-";
    RemoveLeftovers(destination.parent_path().string(), prefix);
    for (unsigned attempt = 0;; ++attempt) {
        temporary = destination.parent_path() / TemporaryFileName(prefix, attempt);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST || attempt == 99) return fd;
    }
}

// Fills a temporary file with `fill` and renames it to `destination`.
std::error_code PlaceFile(const fs::path& destination, mode_t mode,
                          const std::function<std::error_code(int)>& fill) {
    fs::path temporary;
    Descriptor out(CreateTemporaryBeside(destination, mode, temporary));
    if (out.get() < 0) return LastError();

    std::error_code error = fill(out.get());
    if (!error && ::fchmod(out.get(), mode) != 0) error = LastError();
    const std::error_code closeError = out.Close();
    if (!error) error = closeError;
    if (!error && ::rename(temporary.c_str(), destination.c_str()) != 0) error = LastError();
    if (error) ::unlink(temporary.c_str());
    return error;
}

std::error_code CopyContents(int from, int to) {
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got == 0) return {};
        if (got < 0) {
            if (errno == EINTR) continue;
            return LastError();
        }
        if (auto error = WriteAll(to, buffer, static_cast<std::size_t>(got))) return error;
    }
}

}  // namespace

std::error_code InstallCopy(const fs::path& source, const fs::path& destination) {
    Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) return LastError();
    struct stat info {};
    if (::fstat(in.get(), &info) != 0) return LastError();
    if (S_ISDIR(info.st_mode)) return std::make_error_code(std::errc::is_a_directory);
    return PlaceFile(destination, info.st_mode & 0777,
                     [&](int out) { return CopyContents(in.get(), out); });
}

std::error_code InstallText(std::string_view text, const fs::path& destination) {
    return PlaceFile(destination, 0644,
                     [&](int out) { return WriteAll(out, text.data(), text.size()); });
}

}  // namespace blok::setup
