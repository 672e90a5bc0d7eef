#include "model/profile_list.h"

#include "model/config_defaults.h"
#include "model/unicode.h"

#include <algorithm>
#include <utility>

namespace zemrak {
namespace {

std::u16string decimal(std::size_t n) {
    const std::string digits = std::to_string(n);
    return {digits.begin(), digits.end()};
}

bool is_high_surrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

} // namespace

std::u16string fit_name(std::u16string_view name, std::size_t room) {
    const std::size_t limit = room < kMaxNameLength ? kMaxNameLength - room : 0;
    std::size_t kept = std::min(name.size(), limit);
    if (kept > 0 && kept < name.size() && is_high_surrogate(name[kept - 1])) {
        --kept;
    }
    return std::u16string(name.substr(0, kept));
}

std::u16string first_free_name(std::u16string_view stem, std::u16string_view tail,
                               const std::function<bool(std::u16string_view)>& taken) {
    std::u16string candidate = fit_name(stem, tail.size()) + std::u16string(tail);
    for (std::size_t counter = 1; taken(candidate); ++counter) {
        const std::u16string suffix = u"_" + decimal(counter);
        candidate = fit_name(stem, tail.size() + suffix.size()) + std::u16string(tail) + suffix;
    }
    return candidate;
}

ProfileList::ProfileList()
    : m_lastApplied(std::make_unique<ConfigBlock>()), m_factory(std::make_unique<ConfigBlock>()) {}

ConfigBlock& ProfileList::append(const ConfigBlock& block) {
    return append(std::make_unique<ConfigBlock>(block));
}

ConfigBlock& ProfileList::append(std::unique_ptr<ConfigBlock> block) {
    m_profiles.push_back(std::move(block));
    return *m_profiles.back();
}

void ProfileList::remove(std::size_t index) {
    if (index < m_profiles.size()) {
        m_profiles.erase(m_profiles.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

void ProfileList::clear() {
    m_profiles.clear();
}

bool ProfileList::select(std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_profiles.size()) {
        return false;
    }
    m_currentIndex = index;
    return true;
}

ConfigBlock* ProfileList::current() {
    return const_cast<ConfigBlock*>(std::as_const(*this).current());
}

const ConfigBlock* ProfileList::current() const {
    if (m_currentIndex < 0 || static_cast<std::size_t>(m_currentIndex) >= m_profiles.size()) {
        return nullptr;
    }
    return m_profiles[static_cast<std::size_t>(m_currentIndex)].get();
}

void ProfileList::take_last_applied() {
    if (const ConfigBlock* block = current()) {
        *m_lastApplied = *block;
    }
}

bool ProfileList::name_exists(std::u16string_view name) const {
    return std::any_of(m_profiles.begin(), m_profiles.end(), [name](const auto& block) {
        return equal_ignoring_case(block->name(), name);
    });
}

std::u16string ProfileList::unique_name(std::u16string_view base) const {
    return first_free_name(base, u"",
                           [this](std::u16string_view name) { return name_exists(name); });
}

std::u16string ProfileList::default_name(std::u16string_view base_text) const {
    return first_free_name(base_text, decimal(m_profiles.size() + 1),
                           [this](std::u16string_view name) { return name_exists(name); });
}

ConfigBlock& ProfileList::add_default_profile(std::int32_t sensor, std::u16string_view base_text) {
    auto block = std::make_unique<ConfigBlock>();
    fill_defaults(*block, sensor);
    block->set_name(default_name(base_text));
    return append(std::move(block));
}

std::vector<std::span<const std::uint8_t>> ProfileList::images() const {
    std::vector<std::span<const std::uint8_t>> images;
    images.reserve(m_profiles.size());
    for (const auto& block : m_profiles) {
        images.emplace_back(block->bytes());
    }
    return images;
}

} // namespace zemrak
