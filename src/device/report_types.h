#pragma once
// The two report shapes the mouse understands: 8-byte command reports on the command channel
// and 65-byte data reports (report ID 0 and a 64-byte payload) on the data channel.

#include <array>
#include <cstddef>
#include <cstdint>

namespace zemrak {

inline constexpr std::size_t kCommandReportSize = 8;
inline constexpr std::size_t kDataReportSize = 65;
inline constexpr std::size_t kPayloadSize = kDataReportSize - 1;
inline constexpr std::size_t kButtonMapSize = 32;

using CommandReport = std::array<std::uint8_t, kCommandReportSize>;
using DataReport = std::array<std::uint8_t, kDataReportSize>;
// Bytes 1..64 of a data report: payload[k - 1] is report byte k.
using Payload = std::array<std::uint8_t, kPayloadSize>;
// Two bytes per office-mode button: key byte at 2n, kind byte at 2n + 1.
using ButtonMap = std::array<std::uint8_t, kButtonMapSize>;

inline constexpr std::uint8_t kCommandReportId = 0x01;
inline constexpr std::uint8_t kCommandMarker = 0xAA;
inline constexpr std::uint8_t kDataReportId = 0x00;

// Byte 5 of the command report that announces a data report.
inline constexpr std::uint8_t kAnnounceFirstMacroPage = 0x02; // + page index
inline constexpr std::uint8_t kAnnounceSensitivity = 0x04;
inline constexpr std::uint8_t kAnnounceColours = 0x05;

// 01 AA 00 00 00 00 00 00: the frame every command report starts from.
[[nodiscard]] constexpr CommandReport make_command_report() {
    return {kCommandReportId, kCommandMarker, 0, 0, 0, 0, 0, 0};
}

// 01 AA 00 00 00 code 00 00.
[[nodiscard]] constexpr CommandReport make_announcement(std::uint8_t code) {
    CommandReport report = make_command_report();
    report[5] = code;
    return report;
}

// 00 followed by the payload.
[[nodiscard]] constexpr DataReport make_data_report(const Payload& payload) {
    DataReport report{};
    report[0] = kDataReportId;
    for (std::size_t i = 0; i < kPayloadSize; ++i) {
        report[i + 1] = payload[i];
    }
    return report;
}

} // namespace zemrak
