#pragma once

#include "measurement/CaptureCycle.h"
