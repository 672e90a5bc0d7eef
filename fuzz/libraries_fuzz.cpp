// macro.bin and gun.bin as start-up loads them, and the same bytes imported as a folder file
// (.mbins, .gbins) and as one item (.mbin, .gbin).

#include "fuzz_file.h"
#include "macros/macro_library.h"
#include "recoil/recoil_library.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

namespace {

template <class Library>
void exercise(const std::uint8_t* data, std::size_t size, const char* file_name) {
    const std::filesystem::path folder = zemrak::fuzz::scratch_folder();
    {
        std::ofstream out(folder / file_name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Library library(folder);
    static_cast<void>(library.load());
    const zemrak::fuzz::MemoryFile file(data, size);
    static_cast<void>(library.import_folder(file.path()));
    static_cast<void>(library.import_item(file.path()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    exercise<zemrak::MacroLibrary>(data, size, zemrak::kMacroFileName);
    exercise<zemrak::RecoilLibrary>(data, size, zemrak::kRecoilFileName);
    return 0;
}
