#include "device/hid_writer.h"

#include <thread>

namespace zemrak {

void SleepingPause::pause(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

} // namespace zemrak
