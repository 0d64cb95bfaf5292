#pragma once

// The aircraft record that the simulator plug-in sends: 136 bytes, little-endian,
// IEEE 754 doubles for latitude (byte 8), longitude (16) and heading (64); the
// other bytes are the plug-in's own.

#include <QByteArray>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace vtl {

struct TAircraftData {
    static constexpr std::size_t kSize = 136;
    static constexpr std::size_t kLatitudeOffset = 8;
    static constexpr std::size_t kLongitudeOffset = 16;
    static constexpr std::size_t kHeadingOffset = 64;

    std::array<std::uint8_t, kSize> bytes{};

    double Latitude() const { return readDouble(kLatitudeOffset); }
    double Longitude() const { return readDouble(kLongitudeOffset); }
    double Heading() const { return readDouble(kHeadingOffset); }

    void setLatitude(double v) { writeDouble(kLatitudeOffset, v); }
    void setLongitude(double v) { writeDouble(kLongitudeOffset, v); }
    void setHeading(double v) { writeDouble(kHeadingOffset, v); }

    // A record from a message's bytes; none when fewer than 136 bytes came.
    // Bytes beyond the record are ignored.
    static std::optional<TAircraftData> fromBytes(const QByteArray& data);
    QByteArray toBytes() const;

private:
    double readDouble(std::size_t offset) const;
    void writeDouble(std::size_t offset, double value);
};

} // namespace vtl
