// Planted: the core choosing a Linux backend, which only a front end or a tool may do.
#include "platform/x11/X11Extensions.h"
