#include "test_support/library_support.h"

#include "model/sensors.h"

#include <gtest/gtest.h>

namespace zemrak::test {

std::vector<std::uint8_t> patterned_bytes(std::size_t size, std::size_t step, std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * step + seed) & 0xFF);
    }
    return bytes;
}

ProfileList profiles_of(std::size_t count) {
    ProfileList profiles;
    for (std::size_t i = 0; i < count; ++i) {
        profiles.add_default_profile(kSensor3327, u"Profile");
    }
    EXPECT_TRUE(profiles.select(0));
    return profiles;
}

} // namespace zemrak::test
