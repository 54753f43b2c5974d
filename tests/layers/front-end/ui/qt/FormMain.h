#pragma once
// Allowed: the front end uses the core below it and chooses the backends.
#include "app/Start.h"
#include "platform/x11/X11Extensions.h"
