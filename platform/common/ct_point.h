// A point of the host's coordinates: x grows to the right, y downwards, in whole points.
#pragma once

#include <cstdint>

struct tagPOINT {
    std::int32_t x;
    std::int32_t y;
};
