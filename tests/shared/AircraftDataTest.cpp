#include "shared/AircraftData.h"

#include <cstring>
#include <gtest/gtest.h>

using vtl::TAircraftData;

TEST(AircraftRecord, ReadsTheFieldsAtTheirOffsetsLittleEndian) {
    QByteArray bytes(136, '\xAB'); // reserved bytes may hold anything
    const double lat = 47.5, lon = -122.25, heading = 275.4;
    std::memcpy(bytes.data() + 8, &lat, 8);
    std::memcpy(bytes.data() + 16, &lon, 8);
    std::memcpy(bytes.data() + 64, &heading, 8);
    const auto record = TAircraftData::fromBytes(bytes);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->Latitude(), lat);
    EXPECT_EQ(record->Longitude(), lon);
    EXPECT_EQ(record->Heading(), heading);
    EXPECT_EQ(record->toBytes(), bytes);
}

TEST(AircraftRecord, ShortDataIsNoRecordAndExtraBytesAreIgnored) {
    EXPECT_FALSE(TAircraftData::fromBytes(QByteArray()));
    EXPECT_FALSE(TAircraftData::fromBytes(QByteArray(135, '\0')));
    const auto longer = TAircraftData::fromBytes(QByteArray(200, '\0'));
    ASSERT_TRUE(longer);
    EXPECT_EQ(longer->toBytes().size(), 136);
}
