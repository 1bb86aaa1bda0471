#pragma once

#include <QString>
#include <ostream>

// Shows texts in failure messages instead of their UTF-16 units.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
