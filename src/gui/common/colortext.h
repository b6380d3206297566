#pragma once
#include <QColor>
#include <cstdint>

#include "common/colornames.h"

// The colour to draw with: system colours come from the application's palette.
QColor ColorOfValue(std::uint32_t value);
// The value of a drawn colour (always an RGB value, never a system colour).
std::uint32_t ValueOfColor(const QColor& color);
