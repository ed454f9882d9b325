#include "data/FileBytes.h"

#include "data/LoadError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace kel {

std::string ReadFileBytes(const std::filesystem::path& path, std::string_view fileName) {
    const auto fail = [&](const char* what) {
        const int err = errno;
        std::string reason = std::string(what) + " " + path.string();
        if (err != 0)
            reason += std::string(": ") + std::strerror(err);
        throw LoadError(std::string(fileName), reason);
    };

    errno = 0;
#ifdef _WIN32
    std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(path.c_str(), L"rb"), &std::fclose);
#else
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
#endif
    if (!file)
        fail("cannot open");

    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    std::string bytes;
    if (!ec)
        bytes.resize(static_cast<std::size_t>(size));

    // The size is only a hint: read until the end, whatever the file turns out to hold.
    std::size_t used = std::fread(bytes.data(), 1, bytes.size(), file.get());
    for (;;) {
        if (std::ferror(file.get()))
            fail("cannot read");
        if (used < bytes.size()) {
            bytes.resize(used);
            break;
        }
        char chunk[65536];
        const std::size_t n = std::fread(chunk, 1, sizeof chunk, file.get());
        if (n == 0) {
            if (std::ferror(file.get()))
                fail("cannot read");
            break;
        }
        bytes.append(chunk, n);
        used = bytes.size();
    }
    return bytes;
}

} // namespace kel
