// Planted: gestures asking X for the buttons.
#include <X11/Xlib.h>
