#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace inkrun::qt {

inline QString toQt(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string fromQt(const QString& text) { return text.toStdString(); }
// A name or caption of the window tables.
inline QString qtName(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace inkrun::qt
