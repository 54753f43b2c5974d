#include "common/OsCalls.h"

#include <windows.h>
