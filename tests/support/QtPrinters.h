#pragma once

// Readable GoogleTest failure messages for Qt values (found by argument-dependent lookup).

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& value, std::ostream* os)
{
    *os << '"' << value.toStdString() << '"';
}

inline void PrintTo(const QByteArray& value, std::ostream* os)
{
    *os << "bytes \"" << value.toHex(' ').toStdString() << '"';
}

inline void PrintTo(const QStringList& value, std::ostream* os)
{
    *os << '{';
    for (qsizetype i = 0; i < value.size(); ++i)
        *os << (i ? ", \"" : "\"") << value[i].toStdString() << '"';
    *os << '}';
}

#include <string>

// Tests of the Qt front end compare what its widgets show with the core's UTF-8 text.
inline bool operator==(const QString& qt, const std::string& utf8)
{
    return qt == QString::fromStdString(utf8);
}

inline bool operator==(const std::string& utf8, const QString& qt)
{
    return qt == QString::fromStdString(utf8);
}
