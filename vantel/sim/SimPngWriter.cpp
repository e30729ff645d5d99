#include "SimPngWriter.h"

#include <QByteArray>
#include <QObject>
#include <QSaveFile>

#include <array>

namespace {

const std::array<uint32_t, 256>& crcTable()
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

uint32_t crc32(const QByteArray& data)
{
    uint32_t c = 0xffffffffu;
    for (const char byte : data)
        c = crcTable()[(c ^ uint8_t(byte)) & 0xff] ^ (c >> 8);
    return c ^ 0xffffffffu;
}

void appendUint32(QByteArray* out, uint32_t value)
{
    out->append(char(value >> 24));
    out->append(char(value >> 16));
    out->append(char(value >> 8));
    out->append(char(value));
}

void appendChunk(QByteArray* out, const char* type, const QByteArray& data)
{
    QByteArray chunk(type, 4);
    chunk.append(data);
    appendUint32(out, uint32_t(data.size()));
    out->append(chunk);
    appendUint32(out, crc32(chunk));
}

} // namespace

bool SimPngWriter::write(const QString& path, int width, int height, uint32_t seed, QString* error)
{
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) {
        if (error)
            *error = QObject::tr("Invalid picture size %1x%2").arg(width).arg(height);
        return false;
    }
    const int red = int(seed & 0xff), green = int((seed >> 8) & 0xff), blue = int((seed >> 16) & 0xff);
    QByteArray pixels;
    pixels.reserve(height * (1 + 3 * width));
    for (int y = 0; y < height; ++y) {
        pixels.append('\0'); // filter type "none"
        for (int x = 0; x < width; ++x) {
            // A diagonal band over a vertical shade: enough to tell two pictures apart at a glance.
            const bool band = ((x + y) / 12) % 4 == 0;
            const int shade = 64 + 128 * y / height;
            pixels.append(char(band ? 255 - red : (red + shade) / 2));
            pixels.append(char(band ? 255 - green : (green + shade) / 2));
            pixels.append(char(band ? 255 - blue : (blue + shade) / 2));
        }
    }
    // qCompress gives a zlib stream behind a four-byte length, and a zlib stream is what IDAT holds.
    const QByteArray compressed = qCompress(pixels, 6).mid(4);

    QByteArray header;
    appendUint32(&header, uint32_t(width));
    appendUint32(&header, uint32_t(height));
    header.append(char(8)); // bit depth
    header.append(char(2)); // colour type RGB
    header.append(3, '\0'); // compression, filter, interlace

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(&png, "IHDR", header);
    appendChunk(&png, "IDAT", compressed);
    appendChunk(&png, "IEND", QByteArray());

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(png) != png.size() || !file.commit()) {
        if (error)
            *error = QObject::tr("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
