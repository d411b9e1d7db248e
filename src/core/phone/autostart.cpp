#include "core/phone/autostart.h"

#include "core/phone/secrets.h"

namespace pairly::phone {

namespace fs = std::filesystem;

namespace {

// One argument of an Exec line: quoted, with the quoting rule's escapes, '%' doubled, and
// then the string escape of the backslash that every value of a desktop entry has.
std::optional<std::string> execArgument(const std::string& arg) {
    std::string quoted = "\"";
    for (char c : arg) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return std::nullopt;
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';
    std::string out;
    for (char c : quoted) {
        if (c == '\\') out += '\\';
        out += c;
    }
    return out;
}

}  // namespace

fs::path autostartFolder(const char* xdgConfigHome, const char* home) {
    if (xdgConfigHome && *xdgConfigHome == '/') return fs::path(xdgConfigHome) / "autostart";
    if (home && *home == '/') return fs::path(home) / ".config" / "autostart";
    return {};
}

fs::path autostartFile(const fs::path& folder, const fs::path& dataFolder) {
    return folder / ("pairlylog-" + settingsFileStem(dataFolder) + ".desktop");
}

std::optional<std::string> autostartEntry(const fs::path& program, const fs::path& dataFolder) {
    const auto exe = execArgument(program.string());
    const auto folder = execArgument(dataFolder.string());
    if (!exe || !folder) return std::nullopt;
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=ペアリー☆ログ\n"
           "Comment=スマホからの入力を受け付けるため、ログイン時に起動します\n"
           "Exec=" +
           *exe + " " + *folder +
           "\n"
           "Icon=pairlylog\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

}  // namespace pairly::phone
