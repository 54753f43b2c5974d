#pragma once

#include "tools/simgame/GameFrame.h"

#include <QString>
#include <QStringList>

namespace kesmaro {

struct SimGameCommand {
    enum class Mode { Render, Live };
    Mode mode = Mode::Live;
    QString output; // the PNG file of --render
    GameFrameSpec spec;
    QString error; // one line; empty when the arguments are good
};

// The command line of kesmaro-simgame without the program name. Options take their value as
// the next argument; each may be given once. Rendering needs --level, --exp and --coins, and
// the spec must be drawable (CheckGameFrameSpec).
SimGameCommand ParseSimGameArguments(const QStringList& arguments);

QString SimGameUsage();

} // namespace kesmaro
