#include "platform/x11/X11Bell.h"
