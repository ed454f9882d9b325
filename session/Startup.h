#pragma once
// Start-up and shutdown files: the data file check, the loading phase, the closing notice and the
// settings save, as values that the window shows in its message boxes (the report tool runs the
// same sequence).

#include "data/LoadError.h"
#include "session/Message.h"
#include "session/ProgramState.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kel {

// The missing-file message for the first of "zlttimes.log", "trinfo.bin" that does not exist
// in `dataDir`, or nullopt when both exist.
std::optional<Message> CheckDataFiles(const std::filesystem::path& dataDir, Language language = Language::Russian);

// CheckDataFiles's message followed by the folder's path as a second paragraph: for a folder that
// the user named, chose or had remembered.
std::optional<Message> CheckDataFolder(const std::filesystem::path& dataDir, Language language = Language::Russian);

// The message for a failed load: "У вас какая-то хренотень в файле <file>. ...", then the
// error's reason (a sentence in `language`) as a second paragraph.
Message LoadFailureMessage(const LoadError& error, Language language = Language::Russian);

struct StartupOptions {
    std::filesystem::path DataDir;      // folder of "zlttimes.log" and "trinfo.bin"
    std::filesystem::path SettingsPath; // "Kelvara.ini"; empty: no settings file
    std::filesystem::path FilterPath;   // read only the filter sections from here (report tool)
    std::string ProgramDir;             // default FSaveDir, with a trailing separator
    double Now = 0;                     // the start moment
};

// Loading: stage list (sorted for display), settings with the saved filter, times log.
// Throws LoadError naming the file that failed.
void LoadPhase(ProgramState& v, const StartupOptions& options);

// The notice after start-up when the log holds no run or no finished run passes.
std::optional<Message> ClosingNotice(const ProgramState& v);

// Writes the settings and the filter in force to `path`; an empty result on success,
// otherwise the message to show (it names the file). An existing file keeps its other keys.
std::string SaveSettingsFile(const ProgramState& v, const std::filesystem::path& path);

} // namespace kel
