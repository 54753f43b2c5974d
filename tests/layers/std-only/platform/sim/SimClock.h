#pragma once

#include <xcb/xcb.h>
