#pragma once
// Bridges between the core's texts and paths and Qt's.

#include <QString>

#include <filesystem>
#include <string_view>

namespace kel {

// A UTF-8 text of the core as a QString.
inline QString Q(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// A path named by Qt as a file system path, without a detour through a local code page.
inline std::filesystem::path ToPath(const QString& path) { return std::filesystem::path(path.toStdU16String()); }

} // namespace kel
