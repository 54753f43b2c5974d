// Planted: the core reaching up into the Qt front end.
#include "ui/qt/FormMain.h"
