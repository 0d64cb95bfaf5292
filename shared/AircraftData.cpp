#include "shared/AircraftData.h"

#include <QtEndian>
#include <bit>
#include <cstring>

namespace vtl {

std::optional<TAircraftData> TAircraftData::fromBytes(const QByteArray& data) {
    if (static_cast<std::size_t>(data.size()) < kSize) {
        return std::nullopt;
    }
    TAircraftData record;
    std::memcpy(record.bytes.data(), data.constData(), kSize);
    return record;
}

QByteArray TAircraftData::toBytes() const {
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(kSize)};
}

double TAircraftData::readDouble(std::size_t offset) const {
    const auto bits = qFromLittleEndian<std::uint64_t>(bytes.data() + offset);
    return std::bit_cast<double>(bits);
}

void TAircraftData::writeDouble(std::size_t offset, double value) {
    qToLittleEndian(std::bit_cast<std::uint64_t>(value), bytes.data() + offset);
}

} // namespace vtl
