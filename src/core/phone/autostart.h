#pragma once
// The XDG autostart entry that starts the program at log-in on one data folder, so that
// the phones find it running.
#include <filesystem>
#include <optional>
#include <string>

namespace pairly::phone {

// $XDG_CONFIG_HOME/autostart (absolute), else $HOME/.config/autostart; empty when unknown.
std::filesystem::path autostartFolder(const char* xdgConfigHome, const char* home);
// "pairlylog-<settingsFileStem>.desktop": one entry per data folder.
std::filesystem::path autostartFile(const std::filesystem::path& autostartFolder,
                                    const std::filesystem::path& dataFolder);
// The entry's text; nullopt when a path holds a control character, which no Exec line can
// carry.
std::optional<std::string> autostartEntry(const std::filesystem::path& program,
                                          const std::filesystem::path& dataFolder);

}  // namespace pairly::phone
