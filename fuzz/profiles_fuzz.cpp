// profile.bin, a .pbin and Data.bin, and the reports an apply of each loaded profile writes.

#include "device/report_plan.h"
#include "fuzz_file.h"
#include "model/device_params.h"
#include "model/profile_files.h"
#include "model/profile_list.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const zemrak::fuzz::MemoryFile file(data, size);
    zemrak::ProfileList list;
    static_cast<void>(zemrak::load_profiles(file.path(), list));
    const zemrak::DeviceParams params;
    for (std::size_t i = 0; i < list.size(); ++i) {
        static_cast<void>(zemrak::plan_reports(list.at(i), params));
    }
    zemrak::ConfigBlock block;
    static_cast<void>(zemrak::load_profile_image(file.path(), block));
    zemrak::IndexRecord index;
    static_cast<void>(zemrak::load_index_record(file.path(), index));
    return 0;
}
