#include "data/SafeWrite.h"

#include "data/PathText.h"
#include "data/SystemError.h"
#include "data/Texts.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <random>
#include <system_error>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kel {

namespace fs = std::filesystem;

namespace {

// The errno-style code of a library error, for SystemErrorText.
int ErrnoOf(const std::error_code& ec) {
    if (ec.category() == std::generic_category())
        return ec.value();
    const std::error_condition condition = ec.default_error_condition();
    return condition.category() == std::generic_category() ? condition.value() : EIO;
}

// Eight letters and digits that no other save, in this process or another, is likely to pick.
std::string RandomPart() {
    static std::atomic<unsigned long long> counter{0};
    static constexpr char Alphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    unsigned long long seed = (static_cast<unsigned long long>(device()) << 32) ^ device();
    seed ^= static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    seed ^= ++counter * 0x9E3779B97F4A7C15ull;
    std::mt19937_64 mix(seed);
    std::string out(8, '0');
    for (char& c : out)
        c = Alphabet[mix() % (sizeof Alphabet - 1)];
    return out;
}

constexpr int TemporaryNameAttempts = 100;

#ifdef _WIN32

int ErrnoOfWindowsError(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_ACCESS_DENIED: return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return EBUSY;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return ENOMEM;
    default: return EIO;
    }
}

int OpenNew(const fs::path& path) {
    int fd = -1;
    const errno_t error = _wsopen_s(&fd, path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                                    _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return fd;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const unsigned chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<unsigned>(bytes.size());
        const int written = _write(fd, bytes.data(), chunk);
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool SyncFile(int fd) { return _commit(fd) == 0; }
bool CloseFile(int fd) { return _close(fd) == 0; }
void RemoveFile(const fs::path& path) { _wunlink(path.c_str()); }
void KeepAccessRights(int, const fs::path&) {} // the folder's rights apply, as to any new file

// Another save replacing the same file, or a virus scanner looking at the new one, holds it
// for a moment: a few short retries get past that.
bool ReplaceTarget(const fs::path& temp, const fs::path& target) {
    DWORD error = 0;
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        error = GetLastError();
        if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)
            break;
        Sleep(10);
    }
    errno = ErrnoOfWindowsError(error);
    return false;
}

void SyncFolder(const fs::path&) {} // MOVEFILE_WRITE_THROUGH has done it

#else

int OpenNew(const fs::path& path) {
    int fd;
    do
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    return fd;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool SyncFile(int fd) { return ::fsync(fd) == 0; }
bool CloseFile(int fd) { return ::close(fd) == 0; }
void RemoveFile(const fs::path& path) { ::unlink(path.c_str()); }

// The new file takes the old one's access rights and, where the system allows it (the
// superuser saving a player's file), its owner and group.
void KeepAccessRights(int fd, const fs::path& target) {
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0)
        return;
    ::fchmod(fd, old.st_mode & 07777);
    struct stat now {};
    if (::fstat(fd, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) == 0)
        ::fchmod(fd, old.st_mode & 07777); // a change of owner clears the set-id bits
}

bool ReplaceTarget(const fs::path& temp, const fs::path& target) { return ::rename(temp.c_str(), target.c_str()) == 0; }

// The new directory entry is on the disk too, not only the file's contents.
void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

#endif

} // namespace

std::string WriteFailureMessage(const std::string& path, const std::string& reason, Language language) {
    if (reason.empty())
        return Text(TextId::CannotWriteFile, language, {path});
    return Text(TextId::CannotWriteFileBecause, language, {path, reason});
}

std::string WriteFileSafely(const std::string& path, std::string_view bytes, Language language) {
    const auto fail = [&](int code) { return WriteFailureMessage(path, SystemErrorText(code, language), language); };

    std::error_code ec;
    fs::path target = Utf8ToPath(path);
    // Write through a link to the file it names, so that the link stays a link.
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        fs::path resolved = fs::canonical(target, ec);
        if (ec)
            return fail(ErrnoOf(ec));
        target = std::move(resolved);
    }

    const fs::file_status old = fs::status(target, ec);
    const bool exists = old.type() != fs::file_type::not_found;
    if (ec && exists)
        return fail(ErrnoOf(ec));
    if (exists) {
        if (old.type() == fs::file_type::directory)
            return fail(EISDIR);
        if (old.type() != fs::file_type::regular)
            return WriteFailureMessage(path, std::string(Text(TextId::NotRegularFileReason, language)), language);
        // A write-protected file is refused as the system would refuse to open it for writing
        // (renaming over it would succeed, and the superuser bypasses the protection).
        if ((old.permissions() & fs::perms::owner_write) == fs::perms::none)
            return fail(EACCES);
#ifndef _WIN32
        if (::access(target.c_str(), W_OK) != 0)
            return fail(errno);
#endif
    }

    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    fs::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < TemporaryNameAttempts && fd < 0; ++attempt) {
        temp = folder / target.filename();
        temp += "." + RandomPart() + ".tmp";
        fd = OpenNew(temp);
        if (fd < 0 && errno != EEXIST)
            return fail(errno);
    }
    if (fd < 0)
        return fail(EEXIST);

    int error = 0;
    if (exists)
        KeepAccessRights(fd, target);
    if (!WriteAll(fd, bytes) || !SyncFile(fd))
        error = errno;
    if (!CloseFile(fd) && error == 0)
        error = errno;
    if (error == 0 && !ReplaceTarget(temp, target))
        error = errno;
    if (error != 0) {
        RemoveFile(temp);
        return fail(error);
    }
    SyncFolder(folder);
    return {};
}

} // namespace kel
