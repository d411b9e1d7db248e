#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace pairly::gui::widgets {

// The core's texts are UTF-8.
inline QString q(const std::string& utf8) { return QString::fromStdString(utf8); }
inline QString q(const char* utf8) { return QString::fromUtf8(utf8); }
inline QString q(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace pairly::gui::widgets
