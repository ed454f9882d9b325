#include "data/FileBytes.h"

#include "data/LoadError.h"
#include "data/SystemError.h"
#include "data/Texts.h"

#include <cerrno>
#include <cstdio>
#include <limits>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#include <sys/types.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kel {
namespace {

std::string Sentence(std::string text) {
    if (text.empty() || text.back() != '.')
        text += '.';
    return text;
}

std::string_view ByteWord(uint64_t n, Language language) {
    if (language == Language::English)
        return Text(n == 1 ? TextId::ByteOne : TextId::ByteMany, language);
    const uint64_t last = n % 10, lastTwo = n % 100;
    return Text(last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14) ? TextId::ByteFew : TextId::ByteMany, language);
}

} // namespace

std::string FileSizeText(uint64_t bytes, Language language) {
    const bool giga = bytes >= (uint64_t{1} << 30);
    const double value = static_cast<double>(bytes) / static_cast<double>(giga ? uint64_t{1} << 30 : uint64_t{1} << 20);
    char number[64];
    std::snprintf(number, sizeof number, "%.1f", value);
    std::string text = number;
    if (language == Language::Russian)
        for (char& c : text)
            if (c == '.')
                c = ',';
    return Text(giga ? TextId::SizeGigabytes : TextId::SizeMegabytes, language,
                {text, std::to_string(bytes), ByteWord(bytes, language)});
}

void DataFile::Fail(TextId what, int errorCode) const {
    throw LoadError(m_fileName,
                    Sentence(Text(what, m_language, {m_path.string(), SystemErrorText(errorCode, m_language)})));
}

std::string DataFile::NotRegularFile() const { return Text(TextId::NotRegularFile, m_language, {m_path.string()}); }

std::string DataFile::TooLarge() const {
    return Text(TextId::FileTooLarge, m_language, {m_path.string(), FileSizeText(m_size, m_language)});
}

#ifdef _WIN32

DataFile::DataFile(const std::filesystem::path& path, std::string_view fileName, Language language)
    : m_path(path), m_fileName(fileName), m_language(language) {
    // Windows refuses to open a folder ("access denied"): say what it is instead.
    std::error_code ec;
    const auto type = std::filesystem::status(path, ec).type();
    if (!ec && type != std::filesystem::file_type::regular && type != std::filesystem::file_type::not_found)
        throw LoadError(m_fileName, NotRegularFile());
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        Fail(TextId::CannotOpenFile, errno);
    m_file = file;
    struct _stat64 st {};
    if (_fstat64(_fileno(file), &st) != 0) {
        const int err = errno;
        std::fclose(file);
        m_file = nullptr;
        Fail(TextId::CannotReadFile, err);
    }
    if ((st.st_mode & _S_IFMT) != _S_IFREG) {
        std::fclose(file);
        m_file = nullptr;
        throw LoadError(m_fileName, NotRegularFile());
    }
    m_size = static_cast<uint64_t>(st.st_size);
    // The C runtime has no file numbers on Windows (st_ino is 0) and whole seconds only: a log
    // replaced by a rename would pass for the old one. The volume and file index tell them apart.
    BY_HANDLE_FILE_INFORMATION info{};
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    if (handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle, &info)) {
        m_identity.Device = info.dwVolumeSerialNumber;
        m_identity.Inode = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        m_identity.ModTime = static_cast<int64_t>((static_cast<uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                                                  info.ftLastWriteTime.dwLowDateTime);
    } else {
        m_identity.ModTime = static_cast<int64_t>(st.st_mtime);
    }
    if (m_size > MaxDataFileSize) {
        std::fclose(file);
        m_file = nullptr;
        throw LoadError(m_fileName, TooLarge());
    }
}

DataFile::~DataFile() {
    if (m_file)
        std::fclose(static_cast<FILE*>(m_file));
}

std::size_t DataFile::ReadAt(uint64_t offset, char* buffer, std::size_t count) {
    FILE* file = static_cast<FILE*>(m_file);
    if (_fseeki64(file, static_cast<long long>(offset), SEEK_SET) != 0)
        Fail(TextId::CannotReadFile, errno);
    const std::size_t n = std::fread(buffer, 1, count, file);
    if (n < count && std::ferror(file))
        Fail(TextId::CannotReadFile, errno);
    return n;
}

#else

DataFile::DataFile(const std::filesystem::path& path, std::string_view fileName, Language language)
    : m_path(path), m_fileName(fileName), m_language(language) {
    // Without O_NONBLOCK, opening a FIFO would wait for a writer.
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0)
        Fail(TextId::CannotOpenFile, errno);
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) {
        const int err = errno;
        ::close(m_fd);
        m_fd = -1;
        Fail(TextId::CannotReadFile, err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        throw LoadError(m_fileName, NotRegularFile());
    }
    m_size = static_cast<uint64_t>(st.st_size);
    m_identity.Device = static_cast<uint64_t>(st.st_dev);
    m_identity.Inode = static_cast<uint64_t>(st.st_ino);
    m_identity.ModTime = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    if (m_size > MaxDataFileSize) {
        ::close(m_fd);
        m_fd = -1;
        throw LoadError(m_fileName, TooLarge());
    }
}

DataFile::~DataFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

std::size_t DataFile::ReadAt(uint64_t offset, char* buffer, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(m_fd, buffer + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(TextId::CannotReadFile, errno);
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

#endif

std::string ReadFileBytes(const std::filesystem::path& path, std::string_view fileName, Language language) {
    DataFile file(path, fileName, language);
    std::string bytes(static_cast<std::size_t>(file.Size()), '\0');
    bytes.resize(file.ReadAt(0, bytes.data(), bytes.size()));
    // The size is only what it was at opening: read on while the file goes on.
    for (char chunk[65536];;) {
        const std::size_t n = file.ReadAt(bytes.size(), chunk, sizeof chunk);
        if (n == 0)
            break;
        if (bytes.size() + n > MaxDataFileSize)
            throw LoadError(std::string(fileName), Text(TextId::FileGrewTooLarge, language, {path.string()}));
        bytes.append(chunk, n);
    }
    return bytes;
}

} // namespace kel
