// Lets test failures and messages show Qt texts readably.
#pragma once

#include <ostream>

#include <QString>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline std::ostream& operator<<(std::ostream& out, const QString& text) {
    return out << text.toStdString();
}
