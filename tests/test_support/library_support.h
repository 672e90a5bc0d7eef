#pragma once
// What the macro and recoil library tests build their cases from.

#include "macros/macro_library.h"
#include "model/profile_list.h"
#include "recoil/recoil_library.h"
#include "test_support/temp_dir.h"

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

namespace zemrak::test {

// Profiles with default button records, the first one current.
[[nodiscard]] ProfileList profiles_of(std::size_t count);

[[nodiscard]] inline std::vector<std::uint8_t> bytes_of(std::span<const std::uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

// `size` bytes whose every one is recognisable: byte i is (i * step + seed) mod 256.
[[nodiscard]] std::vector<std::uint8_t> patterned_bytes(std::size_t size, std::size_t step,
                                                        std::uint8_t seed);

// Records back to back, as a library file holds them.
template <class Record>
[[nodiscard]] std::vector<std::uint8_t> image_of(std::initializer_list<Record> records) {
    std::vector<std::uint8_t> image;
    for (const Record& record : records) {
        image.insert(image.end(), record.bytes().begin(), record.bytes().end());
    }
    return image;
}

// What the tests that run on both libraries need to know of each.
struct MacroKind {
    using Library = MacroLibrary;
    using Record = MacroRecord;
    static constexpr const char* kFileName = kMacroFileName;
    static constexpr const char* kItemExtension = ".mbin";
    static constexpr const char* kFolderExtension = ".mbins";
    [[nodiscard]] static Record item(std::u16string_view folder, std::u16string_view name) {
        return MacroRecord::make_macro(folder, name);
    }
    // The count that button records copy as their action count.
    static void set_count(Record& record, std::uint16_t count) { record.set_action_count(count); }
    static void refer(ButtonRecord& button, std::int32_t position) {
        button.set_macro_index(position);
    }
    [[nodiscard]] static std::int32_t reference(const ButtonRecord& button) {
        return button.macro_index();
    }
};

struct RecoilKind {
    using Library = RecoilLibrary;
    using Record = RecoilRecord;
    static constexpr const char* kFileName = kRecoilFileName;
    static constexpr const char* kItemExtension = ".gbin";
    static constexpr const char* kFolderExtension = ".gbins";
    [[nodiscard]] static Record item(std::u16string_view folder, std::u16string_view name) {
        return RecoilRecord::make_pattern(folder, name);
    }
    static void set_count(Record& record, std::uint16_t count) {
        record.set_bullet_count(static_cast<std::uint8_t>(count));
    }
    static void refer(ButtonRecord& button, std::int32_t position) {
        button.set_recoil_index(position);
    }
    [[nodiscard]] static std::int32_t reference(const ButtonRecord& button) {
        return button.recoil_index();
    }
};

// Names the typed tests after the library they run on.
struct KindNames {
    template <class Kind>
    static std::string GetName(int) {
        return std::is_same_v<Kind, MacroKind> ? "Macros" : "Recoils";
    }
};
using LibraryKinds = ::testing::Types<MacroKind, RecoilKind>;

// A library of the kind in a data folder of its own, and three profiles, the first current.
template <class Kind>
class LibraryTest : public ::testing::Test {
protected:
    using Record = typename Kind::Record;

    [[nodiscard]] std::filesystem::path file() const { return m_dir / "Data" / Kind::kFileName; }
    // 0 folder Fps, 1 Fps/Burst, 2 folder Moba, 3 Moba/Combo, 4 Fps/Reload, or the same with
    // other names.
    void fill(std::u16string_view first = u"Fps", std::u16string_view first_item = u"Burst",
              std::u16string_view second = u"Moba", std::u16string_view second_item = u"Combo",
              std::u16string_view last_item = u"Reload") {
        ASSERT_TRUE(m_library.add_folder(first).ok());
        ASSERT_TRUE(m_library.add_item(first, first_item).ok());
        ASSERT_TRUE(m_library.add_folder(second).ok());
        ASSERT_TRUE(m_library.add_item(second, second_item).ok());
        ASSERT_TRUE(m_library.add_item(first, last_item).ok());
    }
    // Appends a record that no operation makes (an item without a folder entry, a locked
    // item) to the file and loads it.
    void add_to_file(const Record& record) {
        auto image = bytes_of(m_library.bytes());
        image.insert(image.end(), record.bytes().begin(), record.bytes().end());
        write_bytes(file(), image);
        ASSERT_EQ(image.size() / Record::kSize, m_library.load().loaded);
    }
    [[nodiscard]] Record at(std::int32_t position) const {
        const auto record = m_library.record_at(position);
        EXPECT_TRUE(record) << position;
        return record.value_or(Record{});
    }
    // The file holds the list as the library holds it.
    void expect_saved() const { EXPECT_EQ(bytes_of(m_library.bytes()), read_bytes(file())); }

    TempDir m_dir;
    typename Kind::Library m_library{m_dir.path() / "Data"};
    ProfileList m_profiles = profiles_of(3);
};

} // namespace zemrak::test
