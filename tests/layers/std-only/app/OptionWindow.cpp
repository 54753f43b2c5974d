// Planted: the options logic reaching for Qt paths.
#include <QDir>
