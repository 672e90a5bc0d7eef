#include "test_support/library_support.h"

#include "model/sensors.h"

#include <gtest/gtest.h>

namespace zemrak::test {

ProfileList profiles_of(std::size_t count) {
    ProfileList profiles;
    for (std::size_t i = 0; i < count; ++i) {
        profiles.add_default_profile(kSensor3327, u"Profile");
    }
    EXPECT_TRUE(profiles.select(0));
    return profiles;
}

} // namespace zemrak::test
