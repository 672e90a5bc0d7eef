#pragma once

#include "model/config_block.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zemrak {

// Shortens a name so that `room` UTF-16 units are left for a suffix within the 49-unit limit,
// without splitting a surrogate pair.
[[nodiscard]] std::u16string fit_name(std::u16string_view name, std::size_t room = 0);

// The first of stem + tail, stem + tail + "_1", stem + tail + "_2", ... that `taken` does not
// claim. Only the stem is shortened, so that every candidate fits in 49 units.
[[nodiscard]] std::u16string first_free_name(std::u16string_view stem, std::u16string_view tail,
                                             const std::function<bool(std::u16string_view)>& taken);

// The profiles in list order, the current profile, the copy taken at the last apply and the
// factory image. Records are heap-allocated and owned by the list, so a reference to one stays
// valid until that profile is removed.
class ProfileList {
public:
    ProfileList();

    [[nodiscard]] std::size_t size() const { return m_profiles.size(); }
    [[nodiscard]] bool empty() const { return m_profiles.empty(); }
    // `index` must be below size().
    [[nodiscard]] ConfigBlock& at(std::size_t index) { return *m_profiles.at(index); }
    [[nodiscard]] const ConfigBlock& at(std::size_t index) const { return *m_profiles.at(index); }

    ConfigBlock& append(const ConfigBlock& block);
    ConfigBlock& append(std::unique_ptr<ConfigBlock> block);
    // Removes the profile at `index` (ignored when out of range). The current index is left
    // as it is; the caller selects the profile that follows.
    void remove(std::size_t index);
    void clear();

    // 0-based index of the current profile as last selected.
    [[nodiscard]] std::int32_t current_index() const { return m_currentIndex; }
    // Makes the profile at `index` current. Returns false, and changes nothing, when no
    // profile has that index.
    [[nodiscard]] bool select(std::int32_t index);
    // The current profile, or null when the current index selects none.
    [[nodiscard]] ConfigBlock* current();
    [[nodiscard]] const ConfigBlock* current() const;

    // The current profile as it was at the start of the last apply or when loaded.
    [[nodiscard]] ConfigBlock& last_applied() { return *m_lastApplied; }
    [[nodiscard]] const ConfigBlock& last_applied() const { return *m_lastApplied; }
    // Copies the current profile into the last-applied copy (nothing when there is none).
    void take_last_applied();

    // The profile that reset copies and that new profiles start from.
    [[nodiscard]] ConfigBlock& factory_image() { return *m_factory; }
    [[nodiscard]] const ConfigBlock& factory_image() const { return *m_factory; }

    // True when a profile of the list has this name, compared without regard to case.
    [[nodiscard]] bool name_exists(std::u16string_view name) const;
    // `base` when no profile has it, else the first free one of base_1, base_2, ... The base
    // is shortened so that the whole name fits in 49 units.
    [[nodiscard]] std::u16string unique_name(std::u16string_view base) const;
    // The name of a new profile: the base text followed by (number of profiles + 1), made
    // unique as unique_name() does; only the base text is ever shortened.
    [[nodiscard]] std::u16string default_name(std::u16string_view base_text) const;

    // Appends a profile with the defaults of `sensor` and a default name from `base_text`.
    ConfigBlock& add_default_profile(std::int32_t sensor, std::u16string_view base_text);

    // The images in list order, as profile.bin stores them.
    [[nodiscard]] std::vector<std::span<const std::uint8_t>> images() const;

private:
    std::vector<std::unique_ptr<ConfigBlock>> m_profiles;
    std::int32_t m_currentIndex = 0;
    std::unique_ptr<ConfigBlock> m_lastApplied;
    std::unique_ptr<ConfigBlock> m_factory;
};

} // namespace zemrak
