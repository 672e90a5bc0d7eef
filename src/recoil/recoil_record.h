#pragma once

#include "model/byte_io.h"
#include "model/library_record.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zemrak {

// One step of a recoil pattern: a pointer movement and the delay that goes with it.
struct Bullet {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint16_t delay = 0;
    friend bool operator==(const Bullet&, const Bullet&) = default;
};

// One entry of the recoil library: a folder entry or a pattern of up to 30 bullets. A 576-byte
// image, the same in memory, in gun.bin and in recoil export files; reserved bytes are carried
// unchanged.
class RecoilRecord : public LibraryRecord<RecoilRecord, 576, 204, 208> {
public:
    static constexpr std::size_t kMaxBullets = 30;
    static constexpr std::uint8_t kMaxBulletCount = kMaxBullets;
    static constexpr std::size_t kBulletSize = 12;
    static constexpr std::size_t kBulletsSize = kMaxBullets * kBulletSize;
    // What a new pattern starts with in every slot.
    static constexpr std::uint16_t kNewBulletDelay = 10;

    static constexpr std::size_t kBulletCountOffset = 200;
    static constexpr std::size_t kSecondParameterOffset = 202;
    static constexpr std::size_t kBulletsOffset = 216;
    // Inside a bullet slot; bytes 8 and 9 are reserved.
    static constexpr std::size_t kBulletXOffset = 0;
    static constexpr std::size_t kBulletYOffset = 4;
    static constexpr std::size_t kBulletDelayOffset = 10;

    // A new pattern: all 30 bullets in use, no movement, the shortest delay.
    [[nodiscard]] static RecoilRecord make_pattern(std::u16string_view folder,
                                                   std::u16string_view name) {
        RecoilRecord record;
        record.set_folder_name(folder);
        record.set_item_name(name);
        record.set_bullet_count(kMaxBulletCount);
        for (std::size_t slot = 0; slot < kMaxBullets; ++slot) {
            record.set_bullet(slot, Bullet{0, 0, kNewBulletDelay});
        }
        return record;
    }

    // Bullets in use, 1..30; a larger stored count reads as 30 and is stored as 30.
    [[nodiscard]] std::uint8_t bullet_count() const {
        return std::min(m_bytes[kBulletCountOffset], kMaxBulletCount);
    }
    void set_bullet_count(std::uint8_t count) {
        m_bytes[kBulletCountOffset] = std::min(count, kMaxBulletCount);
    }
    // Carried into button records as their loop count; patterns made here have 0.
    [[nodiscard]] std::uint8_t second_parameter() const { return m_bytes[kSecondParameterOffset]; }
    void set_second_parameter(std::uint8_t value) { m_bytes[kSecondParameterOffset] = value; }

    // Bullet slots 0..29, all stored whatever the count; a slot outside that range reads as
    // zero and ignores writes. Writing keeps the slot's reserved bytes.
    [[nodiscard]] Bullet bullet(std::size_t slot) const {
        if (slot >= kMaxBullets) {
            return {};
        }
        const auto from = bullets().subspan(slot * kBulletSize, kBulletSize);
        return {load_i32(from, kBulletXOffset), load_i32(from, kBulletYOffset),
                load_u16(from, kBulletDelayOffset)};
    }
    void set_bullet(std::size_t slot, const Bullet& bullet) {
        if (slot >= kMaxBullets) {
            return;
        }
        const auto to = bullets().subspan(slot * kBulletSize, kBulletSize);
        store_i32(to, kBulletXOffset, bullet.x);
        store_i32(to, kBulletYOffset, bullet.y);
        store_u16(to, kBulletDelayOffset, bullet.delay);
    }
    // All 30 slots as button records copy them.
    [[nodiscard]] std::span<std::uint8_t, kBulletsSize> bullets() {
        return std::span(m_bytes).subspan<kBulletsOffset, kBulletsSize>();
    }
    [[nodiscard]] std::span<const std::uint8_t, kBulletsSize> bullets() const {
        return std::span(m_bytes).subspan<kBulletsOffset, kBulletsSize>();
    }

    // Limits the bullet count of a stored image to 30; true when it was larger.
    static bool bound_image(std::span<std::uint8_t> image) {
        if (image[kBulletCountOffset] <= kMaxBulletCount) {
            return false;
        }
        image[kBulletCountOffset] = kMaxBulletCount;
        return true;
    }

    friend bool operator==(const RecoilRecord&, const RecoilRecord&) = default;
};

static_assert(sizeof(RecoilRecord) == RecoilRecord::kSize);
static_assert(RecoilRecord::kBulletCountOffset == RecoilRecord::kItemNameOffset + 2 * kNameUnits);
static_assert(RecoilRecord::kLockedOffset == RecoilRecord::kSecondParameterOffset + 2);
static_assert(RecoilRecord::kFolderEntryOffset == RecoilRecord::kLockedOffset + 4);
// Four reserved bytes separate the folder-entry flag from the bullets.
static_assert(RecoilRecord::kBulletsOffset == RecoilRecord::kFolderEntryOffset + 8);
static_assert(RecoilRecord::kBulletsOffset + RecoilRecord::kBulletsSize == RecoilRecord::kSize);
static_assert(RecoilRecord::kBulletDelayOffset + 2 == RecoilRecord::kBulletSize);

} // namespace zemrak
