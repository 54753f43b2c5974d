#include "common/DateTime.h"

#include <QDateTime>
#include <chrono>
