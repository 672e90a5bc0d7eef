// Language/lan.xml, read as the program reads it.

#include "fuzz_file.h"
#include "model/text_table.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const zemrak::fuzz::MemoryFile file(data, size);
    std::error_code error;
    const zemrak::TextTable table = zemrak::TextTable::load(file.path(), error);
    static_cast<void>(table.text("profile_text"));
    return 0;
}
