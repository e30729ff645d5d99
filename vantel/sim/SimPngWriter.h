#pragma once

#include <QString>

#include <cstdint>

// Writes the small pictures the simulated cameras "take". The library does without Qt's GUI module, so the
// PNG is put together by hand: RGB, eight bits, no filtering.
class SimPngWriter
{
public:
    // A picture whose colours follow from seed; false with a message when the file cannot be written.
    static bool write(const QString& path, int width, int height, uint32_t seed, QString* error);
};
