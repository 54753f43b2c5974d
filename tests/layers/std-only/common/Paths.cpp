#include "common/Paths.h"

#include <QStandardPaths>
