#include "core/phone/secrets.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <vector>

#include "core/disk/fields.h"

namespace pairly::phone {

namespace fs = std::filesystem;

namespace {

constexpr char kHex[] = "0123456789abcdef";
constexpr std::size_t kMaxSettingsBytes = 4096;

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool makePrivateFolders(const fs::path& folder) {
    if (folder.empty()) return false;
    std::error_code ec;
    if (fs::is_directory(folder, ec)) return true;
    if (!makePrivateFolders(folder.parent_path())) return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

std::optional<std::string> readSmallFile(const fs::path& file, bool& exposed) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    std::string bytes;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        exposed = (st.st_mode & 077) != 0 || st.st_uid != ::getuid();
        char buffer[1024];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) ok = false;
            if (n <= 0) break;
            bytes.append(buffer, static_cast<std::size_t>(n));
            if (bytes.size() > kMaxSettingsBytes) {
                ok = false;
                break;
            }
        }
    }
    ::close(fd);
    if (!ok) return std::nullopt;
    return bytes;
}

std::optional<std::vector<unsigned char>> randomBytes(std::size_t bytes) {
    std::vector<unsigned char> raw(bytes);
    std::size_t got = 0;
    while (got < bytes) {
        const ssize_t n = ::getrandom(raw.data() + got, bytes - got, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::nullopt;
        got += static_cast<std::size_t>(n);
    }
    return raw;
}

}  // namespace

std::optional<std::string> randomHex(std::size_t bytes) {
    const auto raw = randomBytes(bytes);
    if (!raw) return std::nullopt;
    std::string out;
    for (unsigned char c : *raw) {
        out += kHex[c >> 4];
        out += kHex[c & 15];
    }
    return out;
}

std::optional<std::string> newSecret() {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    const auto raw = randomBytes(kSecretBytes);
    if (!raw) return std::nullopt;
    std::string out;
    unsigned bits = 0, pending = 0;
    for (unsigned char c : *raw) {
        pending = (pending << 8) | c;
        bits += 8;
        while (bits >= 6) out += kAlphabet[(pending >> (bits -= 6)) & 63];
    }
    if (bits > 0) out += kAlphabet[(pending << (6 - bits)) & 63];
    return out;
}

bool isSecret(std::string_view text) {
    if (text.size() != (kSecretBytes * 8 + 5) / 6) return false;
    for (char c : text)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_') return false;
    return true;
}

bool constantTimeEquals(std::string_view a, std::string_view b) {
    // Every byte of the longer text is looked at whatever the others hold.
    const std::size_t n = std::max(a.size(), b.size());
    unsigned diff = a.size() == b.size() ? 0 : 1;
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
        const unsigned char y = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
        diff |= static_cast<unsigned>(x ^ y);
    }
    return diff == 0;
}

fs::path configFolder(const char* xdgConfigHome, const char* home) {
    if (xdgConfigHome && *xdgConfigHome == '/') return fs::path(xdgConfigHome) / "pairlylog";
    if (home && *home == '/') return fs::path(home) / ".config" / "pairlylog";
    return {};
}

std::string settingsFileStem(const fs::path& dataFolder) {
    const std::string whole = dataFolder.string();
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : whole) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    std::string name;
    for (unsigned char c : dataFolder.filename().string())
        if (std::isalnum(c) && name.size() < 24) name += static_cast<char>(c);
    if (name.empty()) name = "folder";
    name += '-';
    for (int shift = 60; shift >= 0; shift -= 4) name += kHex[(hash >> shift) & 15];
    return name;
}

fs::path settingsFile(const fs::path& configFolder, const fs::path& dataFolder) {
    return configFolder / "phone" / (settingsFileStem(dataFolder) + ".conf");
}

std::string settingsText(const PhoneSettings& s, const fs::path& dataFolder) {
    std::ostringstream out;
    out << "# ペアリー☆ログ: the phone page of one data folder. The secrets are keys.\n"
        << "folder=" << dataFolder.string() << '\n'
        << "enabled=" << (s.enabled ? 1 : 0) << '\n'
        << "port=" << s.port << '\n'
        << "tray=" << (s.tray ? 1 : 0) << '\n'
        << "secret1=" << s.secrets[0] << '\n'
        << "secret2=" << s.secrets[1] << '\n';
    return out.str();
}

LoadedSettings loadSettings(const fs::path& file, const fs::path& dataFolder) {
    LoadedSettings loaded;
    const auto bytes = readSmallFile(file, loaded.exposed);
    if (!bytes) return {};
    PhoneSettings s;
    bool ours = false;
    std::istringstream lines(*bytes);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t eq = line.find('=');
        if (line.empty() || line[0] == '#' || eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "folder") ours = value == dataFolder.string();
        if (key == "enabled") s.enabled = value == "1";
        if (key == "tray") s.tray = value == "1";
        if (key == "port" && value.size() <= 5 && !value.empty() &&
            value.find_first_not_of("0123456789") == std::string::npos) {
            const int port = std::stoi(value);
            if (port >= 1024 && port <= 65535) s.port = port;
        }
        if (key == "secret1" && isSecret(value)) s.secrets[0] = value;
        if (key == "secret2" && isSecret(value)) s.secrets[1] = value;
    }
    if (!ours) return {};  // two folders whose names hash alike: this one starts afresh
    loaded.settings = s;
    if (loaded.exposed) loaded.settings.secrets = {};
    return loaded;
}

bool saveSettings(const fs::path& file, const PhoneSettings& settings, const fs::path& dataFolder) {
    return writePrivateFile(file, settingsText(settings, dataFolder));
}

std::optional<int> typedPort(std::string_view text) {
    const disk::TypedNumber n = disk::readTypedNumber(text, disk::NumberKind::Positive);
    if (!n.ok() || disk::isBlankText(text) || n.value < 1024 || n.value > 65535 ||
        n.value != std::floor(n.value))
        return std::nullopt;
    return static_cast<int>(n.value);
}

bool ensureSecrets(PhoneSettings& settings) {
    for (std::string& secret : settings.secrets) {
        if (isSecret(secret)) continue;
        const auto made = newSecret();
        if (!made) return false;
        secret = *made;
    }
    return true;
}

bool renewSecret(PhoneSettings& settings, int slot) {
    const auto made = newSecret();
    if (!made || (slot != 1 && slot != 2)) return false;
    settings.secrets[static_cast<std::size_t>(slot - 1)] = *made;
    return true;
}

bool writePrivateFile(const fs::path& file, std::string_view bytes, unsigned mode) {
    if (!makePrivateFolders(file.parent_path())) return false;
    const fs::path temp = fs::path(file.string() + ".tmp");
    ::unlink(temp.c_str());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          static_cast<mode_t>(mode));
    if (fd < 0) return false;
    // The mode asked for, whatever the umask left of it.
    bool ok =
        ::fchmod(fd, static_cast<mode_t>(mode)) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), file.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    const int dir = ::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace pairly::phone
