#pragma once
// The phone links' secrets and the phone settings of one data folder, kept in the user's
// configuration folder (never in the data folder, which may be synchronised or shared),
// in a file only the user can read.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pairly::phone {

// Bytes of a secret: 128 bits.
inline constexpr std::size_t kSecretBytes = 16;
inline constexpr int kDefaultPort = 8765;

// `bytes` bytes from the operating system's random source as lower-case hex; nullopt when
// the source fails (then nothing is served).
std::optional<std::string> randomHex(std::size_t bytes);
// A secret: kSecretBytes from the random source in unpadded base64url (22 characters), so
// that a link stays short enough to show whole and to make a small QR code.
std::optional<std::string> newSecret();
// A text of that form: 22 characters of A-Z a-z 0-9 - _.
bool isSecret(std::string_view text);
// Compares in time that depends on the lengths only.
bool constantTimeEquals(std::string_view a, std::string_view b);

struct PhoneSettings {
    bool enabled = false;  // chkPhone
    int port = kDefaultPort;
    bool tray = false;                   // chkTray
    std::array<std::string, 2> secrets;  // partner 1, 2; "" until made
    bool operator==(const PhoneSettings&) const = default;
};

// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config; then "pairlylog".
// Empty when neither is known.
std::filesystem::path configFolder(const char* xdgConfigHome, const char* home);
// The file of one data folder in configFolder/phone: a name made from the folder's resolved
// path (its last part in plain letters and a 64-bit FNV-1a hash of the whole path in hex).
std::string settingsFileStem(const std::filesystem::path& dataFolder);
std::filesystem::path settingsFile(const std::filesystem::path& configFolder,
                                   const std::filesystem::path& dataFolder);

struct LoadedSettings {
    PhoneSettings settings;
    // The file others could read (or another user's): its secrets are not to be trusted.
    bool exposed = false;
};
// Defaults when the file is missing, unreadable or written for another folder.
LoadedSettings loadSettings(const std::filesystem::path& file,
                            const std::filesystem::path& dataFolder);
std::string settingsText(const PhoneSettings& settings, const std::filesystem::path& dataFolder);
// Writes the file (mode 0600, folders 0700) through a temporary file and a rename.
[[nodiscard]] bool saveSettings(const std::filesystem::path& file, const PhoneSettings& settings,
                                const std::filesystem::path& dataFolder);

// A port typed into txtPhonePort: a whole number from 1024 to 65535 (full-width digits and
// blanks around it as every typed number allows); nullopt otherwise, refused with
// kPortRefusal titled kPortRefusalTitle.
std::optional<int> typedPort(std::string_view text);
inline constexpr char kPortRefusal[] = "ポート番号は1024～65535の整数で入力してください";
inline constexpr char kPortRefusalTitle[] = "ポート番号入力エラー";

// Makes the missing (or malformed) secrets; false when the random source failed.
[[nodiscard]] bool ensureSecrets(PhoneSettings& settings);
// A new secret for one partner: the old link stops working.
[[nodiscard]] bool renewSecret(PhoneSettings& settings, int slot);

// Writes bytes as the whole file with the given mode through "<file>.tmp", fsync and rename;
// the folders on the way are made with mode 0700. False (and the old file untouched) on any
// failure.
[[nodiscard]] bool writePrivateFile(const std::filesystem::path& file, std::string_view bytes,
                                    unsigned mode = 0600);

}  // namespace pairly::phone
