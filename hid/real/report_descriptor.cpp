#include "report_descriptor.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace zemrak::hid {
namespace {

// Item types (bits 2-3 of the prefix).
constexpr std::uint8_t kMainItem = 0;
constexpr std::uint8_t kGlobalItem = 1;
constexpr std::uint8_t kLocalItem = 2;

// Main item tags.
constexpr std::uint8_t kFeature = 0x0B;
constexpr std::uint8_t kCollection = 0x0A;
constexpr std::uint8_t kEndCollection = 0x0C;

// Global item tags.
constexpr std::uint8_t kUsagePage = 0x00;
constexpr std::uint8_t kReportSize = 0x07;
constexpr std::uint8_t kReportId = 0x08;
constexpr std::uint8_t kReportCount = 0x09;
constexpr std::uint8_t kPush = 0x0A;
constexpr std::uint8_t kPop = 0x0B;

// Local item tags.
constexpr std::uint8_t kUsage = 0x00;

constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::size_t kLongItemHeader = 3;
constexpr std::uint32_t kMaxReportId = 255;
// Deeper than any real descriptor goes; the bound keeps a hostile one from growing the stack.
constexpr std::size_t kMaxGlobalStack = 16;

struct GlobalState {
    std::uint32_t usage_page = 0;
    std::uint32_t report_size = 0;
    std::uint32_t report_count = 0;
    std::uint8_t report_id = 0;
};

struct Item {
    std::uint8_t type = 0;
    std::uint8_t tag = 0;
    std::size_t size = 0;
    std::uint32_t data = 0;
};

std::uint64_t saturating_add(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t room = std::numeric_limits<std::uint64_t>::max() - a;
    return b > room ? std::numeric_limits<std::uint64_t>::max() : a + b;
}

class Parser {
public:
    explicit Parser(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    [[nodiscard]] ReportDescriptor run() {
        while (m_pos < m_bytes.size()) {
            if (m_bytes[m_pos] == kLongItemPrefix) {
                if (!skip_long_item()) {
                    return fail();
                }
                continue;
            }
            const std::optional<Item> item = next_short_item();
            if (!item || !apply(*item)) {
                return fail();
            }
        }
        if (m_depth != 0) {
            return fail();
        }
        return std::move(m_result);
    }

private:
    [[nodiscard]] ReportDescriptor fail() {
        m_result.well_formed = false;
        return std::move(m_result);
    }

    [[nodiscard]] std::size_t remaining() const { return m_bytes.size() - m_pos; }

    [[nodiscard]] bool skip_long_item() {
        if (remaining() < kLongItemHeader) {
            return false;
        }
        const std::size_t data_size = m_bytes[m_pos + 1];
        if (remaining() - kLongItemHeader < data_size) {
            return false;
        }
        m_pos += kLongItemHeader + data_size;
        return true;
    }

    [[nodiscard]] std::optional<Item> next_short_item() {
        static constexpr std::size_t kDataSizes[] = {0, 1, 2, 4};
        const std::uint8_t prefix = m_bytes[m_pos];
        Item item;
        item.size = kDataSizes[prefix & 0x03U];
        item.type = static_cast<std::uint8_t>((prefix >> 2U) & 0x03U);
        item.tag = static_cast<std::uint8_t>(prefix >> 4U);
        if (remaining() - 1 < item.size) {
            return std::nullopt;
        }
        for (std::size_t i = 0; i < item.size; ++i) {
            item.data |= static_cast<std::uint32_t>(m_bytes[m_pos + 1 + i]) << (8 * i);
        }
        m_pos += 1 + item.size;
        return item;
    }

    [[nodiscard]] bool apply(const Item& item) {
        switch (item.type) {
        case kMainItem:
            return apply_main(item);
        case kGlobalItem:
            return apply_global(item);
        case kLocalItem:
            if (item.tag == kUsage && !m_first_usage) {
                m_first_usage = item;
            }
            return true;
        default: // reserved
            return true;
        }
    }

    [[nodiscard]] bool apply_main(const Item& item) {
        bool ok = true;
        if (item.tag == kFeature) {
            add_feature_bits();
        } else if (item.tag == kCollection) {
            if (m_depth == 0) {
                m_result.top_level_collections.push_back(collection_usage());
            }
            ++m_depth;
        } else if (item.tag == kEndCollection) {
            ok = m_depth > 0;
            if (ok) {
                --m_depth;
            }
        }
        // Local items describe only the main item that follows them.
        m_first_usage.reset();
        return ok;
    }

    [[nodiscard]] bool apply_global(const Item& item) {
        switch (item.tag) {
        case kUsagePage:
            m_global.usage_page = item.data;
            return true;
        case kReportSize:
            m_global.report_size = item.data;
            return true;
        case kReportCount:
            m_global.report_count = item.data;
            return true;
        case kReportId:
            if (item.data == 0 || item.data > kMaxReportId) {
                return false;
            }
            m_global.report_id = static_cast<std::uint8_t>(item.data);
            return true;
        case kPush:
            if (m_stack.size() >= kMaxGlobalStack) {
                return false;
            }
            m_stack.push_back(m_global);
            return true;
        case kPop:
            if (m_stack.empty()) {
                return false;
            }
            m_global = m_stack.back();
            m_stack.pop_back();
            return true;
        default:
            return true;
        }
    }

    void add_feature_bits() {
        const std::uint64_t bits =
            std::uint64_t{m_global.report_size} * std::uint64_t{m_global.report_count};
        auto& reports = m_result.feature_reports;
        auto found = std::find_if(reports.begin(), reports.end(), [this](const FeatureReport& r) {
            return r.id == m_global.report_id;
        });
        if (found == reports.end()) {
            reports.push_back(FeatureReport{m_global.report_id, bits});
        } else {
            found->bits = saturating_add(found->bits, bits);
        }
    }

    [[nodiscard]] CollectionUsage collection_usage() const {
        if (!m_first_usage) {
            return CollectionUsage{static_cast<std::uint16_t>(m_global.usage_page), 0};
        }
        const std::uint32_t data = m_first_usage->data;
        // A four-byte usage carries its own page in the high half.
        const std::uint32_t page = m_first_usage->size == 4 ? data >> 16U : m_global.usage_page;
        return CollectionUsage{static_cast<std::uint16_t>(page),
                               static_cast<std::uint16_t>(data & 0xFFFFU)};
    }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
    GlobalState m_global;
    std::vector<GlobalState> m_stack;
    std::optional<Item> m_first_usage;
    std::size_t m_depth = 0;
    ReportDescriptor m_result;
};

} // namespace

const FeatureReport* ReportDescriptor::feature_report(std::uint8_t id) const {
    const auto found = std::find_if(feature_reports.begin(), feature_reports.end(),
                                    [id](const FeatureReport& r) { return r.id == id; });
    return found == feature_reports.end() ? nullptr : &*found;
}

ReportDescriptor parse_report_descriptor(std::span<const std::uint8_t> bytes) {
    return Parser(bytes).run();
}

} // namespace zemrak::hid
