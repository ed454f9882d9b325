#pragma once
// Reading the program's data files: each is checked to be a regular file of a sane size
// before a byte is read, then read whole or piece by piece.

#include "data/Language.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kel {

enum class TextId;

// Largest data file that is read at all. Real logs stay far below 100 MB; anything bigger
// could only fill the memory.
inline constexpr uint64_t MaxDataFileSize = uint64_t{2} << 30;

// What tells a file apart from another one that later takes its name: the device and file
// number where the system has them (0 otherwise) and the time of the last change.
struct FileIdentity {
    uint64_t Device = 0;
    uint64_t Inode = 0;
    int64_t ModTime = 0; // nanoseconds (or the system's own unit), only compared
    bool SameFile(const FileIdentity& other) const { return Device == other.Device && Inode == other.Inode; }
    bool operator==(const FileIdentity&) const = default;
};

// A data file open for reading. Opening refuses anything that is not a regular file (a FIFO
// would block for ever, a device such as /dev/zero never ends) and files larger than
// MaxDataFileSize.
class DataFile {
public:
    // Throws LoadError(fileName, reason), the reason in `language`; `fileName` is the bare name
    // the user sees ("zlttimes.log").
    DataFile(const std::filesystem::path& path, std::string_view fileName, Language language = Language::Russian);
    ~DataFile();
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    uint64_t Size() const { return m_size; } // when opened
    const FileIdentity& Identity() const { return m_identity; }
    Language Lang() const { return m_language; } // of the failure reasons

    // Reads up to `count` bytes from `offset`; fewer only where the file ends. Throws LoadError.
    std::size_t ReadAt(uint64_t offset, char* buffer, std::size_t count);

private:
    [[noreturn]] void Fail(TextId what, int errorCode) const;
    std::string NotRegularFile() const;
    std::string TooLarge() const;

    std::filesystem::path m_path;
    std::string m_fileName;
    Language m_language;
#ifdef _WIN32
    void* m_file = nullptr; // FILE*
#else
    int m_fd = -1;
#endif
    uint64_t m_size = 0;
    FileIdentity m_identity;
};

// The whole content of a data file. Throws LoadError(fileName, reason) as DataFile does.
std::string ReadFileBytes(const std::filesystem::path& path, std::string_view fileName,
                          Language language = Language::Russian);

// "1,5 ГБ (1610612736 байт)", "1.5 GB (1610612736 bytes)": a file size for messages.
std::string FileSizeText(uint64_t bytes, Language language = Language::Russian);

} // namespace kel
