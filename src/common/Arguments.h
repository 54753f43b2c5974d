#pragma once

#include <QString>
#include <QStringList>

namespace kesmaro {

// A program's arguments as main receives them, without the program name; read before any
// application object exists, so that options which need no display work without one.
inline QStringList ArgumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace kesmaro
