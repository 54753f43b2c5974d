// Planted: a record beep straight to the sound server.
#include <pulse/simple.h>
