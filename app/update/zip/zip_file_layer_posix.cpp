// The file layer on POSIX systems. Wide paths become UTF-8 with "/" separators;
// of the Windows attributes only read-only has a counterpart (no write bits), and
// of the three times the creation time has none.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "base/utf8_text.h"
#include "update/zip/zip_entry_fields.h"
#include "update/zip/zip_file_layer.h"

namespace {

std::string ToNativePath(const std::wstring& path) {
    std::wstring slashed = path;
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    return Base::EncodeUtf8(slashed);
}

std::wstring FromNativePath(const std::string& utf8) { return Base::DecodeUtf8UpToNul(utf8); }

timespec ToTimespec(std::uint64_t fileTime) {
    if (fileTime == 0) {
        return timespec{0, UTIME_OMIT};
    }
    constexpr std::int64_t kTicksPerSecond = 10'000'000;
    constexpr std::int64_t kUnixEpochAsFileTime = 116'444'736'000'000'000;
    const std::int64_t ticks = static_cast<std::int64_t>(fileTime) - kUnixEpochAsFileTime;
    std::int64_t seconds = ticks / kTicksPerSecond;
    std::int64_t rest = ticks % kTicksPerSecond;
    if (rest < 0) {
        --seconds;
        rest += kTicksPerSecond;
    }
    return timespec{static_cast<time_t>(seconds), static_cast<long>(rest * 100)};
}

// Collapses ".", ".." and repeated separators without touching the file system.
std::string Normalize(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string result = path.starts_with('/') ? "/" : "";
    for (const std::string& part : parts) {
        result += part + "/";
    }
    return result;
}

}  // namespace

struct ArchiveFile::Handle {
    explicit Handle(int descriptor) : fd(descriptor) {}
    ~Handle() { ::close(fd); }
    int fd;
};

std::unique_ptr<ArchiveFile> ArchiveFile::Open(const std::wstring& path) {
    const int fd = ::open(ToNativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    auto handle = std::make_unique<Handle>(fd);
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        return nullptr;
    }
    return std::unique_ptr<ArchiveFile>(new ArchiveFile(std::move(handle), static_cast<std::uint64_t>(status.st_size)));
}

ArchiveFile::ArchiveFile(std::unique_ptr<Handle> handle, std::uint64_t size)
    : handle_(std::move(handle)), size_(size) {}

ArchiveFile::~ArchiveFile() = default;

std::ptrdiff_t ArchiveFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const {
    if (offset > static_cast<std::uint64_t>(LLONG_MAX)) {
        return -1;
    }
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got =
            ::pread(handle_->fd, static_cast<char*>(buffer) + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<std::ptrdiff_t>(done);
}

bool ArchiveFile::ReadExactly(std::uint64_t offset, void* buffer, std::size_t count) const {
    return ReadAt(offset, buffer, count) == static_cast<std::ptrdiff_t>(count);
}

struct OutputFile::Handle {
    explicit Handle(int descriptor) : fd(descriptor) {}
    ~Handle() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    int fd;
};

std::unique_ptr<OutputFile> OutputFile::Create(const std::wstring& path, std::uint32_t attributes) {
    // A read-only entry is created without write bits; this descriptor may still write.
    const mode_t mode = (attributes & kAttributeReadOnly) ? 0444 : 0666;
    const int fd = ::open(ToNativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd < 0) {
        return nullptr;
    }
    return std::unique_ptr<OutputFile>(new OutputFile(std::make_unique<Handle>(fd), path));
}

OutputFile::OutputFile(std::unique_ptr<Handle> handle, std::wstring path)
    : handle_(std::move(handle)), path_(std::move(path)) {}

OutputFile::~OutputFile() { Discard(); }

bool OutputFile::Write(const void* data, std::size_t count) {
    const auto* bytes = static_cast<const char*>(data);
    while (count > 0) {
        const ssize_t written = ::write(handle_->fd, bytes, count);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

bool OutputFile::Commit(const ZipFileTimes& times) {
    const timespec stamps[2] = {ToTimespec(times.access), ToTimespec(times.modification)};
    if (::futimens(handle_->fd, stamps) != 0) {
        return false;
    }
    const int fd = handle_->fd;
    handle_->fd = -1;
    if (::close(fd) != 0) {
        return false;  // delayed write errors surface here
    }
    handle_.reset();
    return true;
}

void OutputFile::Discard() {
    if (handle_) {
        handle_.reset();
        ::unlink(ToNativePath(path_).c_str());
    }
}

void CreateFolderIfMissing(const std::wstring& path) { ::mkdir(ToNativePath(path).c_str(), 0777); }

std::wstring CurrentFolderWithSeparator() {
    std::vector<char> buffer(PATH_MAX);
    std::wstring folder;
    if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
        folder = FromNativePath(buffer.data());
    }
    folder.push_back(L'/');
    return folder;
}

bool IsInsideFolder(const std::wstring& folder, const std::wstring& path) {
    return Normalize(ToNativePath(path)).starts_with(Normalize(ToNativePath(folder)));
}

bool ResolvesInsideFolder(const std::wstring& folder, const std::wstring& path) {
    char resolvedFolder[PATH_MAX];
    char resolvedPath[PATH_MAX];
    if (::realpath(ToNativePath(folder).c_str(), resolvedFolder) == nullptr ||
        ::realpath(ToNativePath(path).c_str(), resolvedPath) == nullptr) {
        return false;
    }
    const std::string inside = std::string(resolvedFolder) + (std::string_view(resolvedFolder) == "/" ? "" : "/");
    return std::string(resolvedPath) + "/" == inside || std::string(resolvedPath).starts_with(inside);
}

bool PathExists(const std::wstring& path) {
    struct stat status {};
    return ::lstat(ToNativePath(path).c_str(), &status) == 0;
}
