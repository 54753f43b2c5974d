#include "recognition/Binarization.h"
