#pragma once
#include <stdexcept>
#include <string>

namespace kel {

// A failure while loading one of the program's files. FileName is the bare name the
// user sees in the message ("zlttimes.log", "trinfo.bin", "Kelvara.ini").
class LoadError : public std::runtime_error {
public:
    LoadError(std::string fileName, const std::string& reason)
        : std::runtime_error(reason), m_fileName(std::move(fileName)) {}
    const std::string& FileName() const { return m_fileName; }

private:
    std::string m_fileName;
};

} // namespace kel
