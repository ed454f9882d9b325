#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace kel {

// The whole content of a file, read in one go. Throws LoadError(fileName, reason) when the
// file cannot be opened or read; `fileName` is the bare name the user sees.
std::string ReadFileBytes(const std::filesystem::path& path, std::string_view fileName);

} // namespace kel
