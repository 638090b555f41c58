#include "stream/element_record.h"

#include <algorithm>

#include "stream/page_stream.h"

namespace vyn {

int32_t ElementRecord::Parse(std::span<const uint16_t> operand) {
    switch (mode_) {
        case 0: return ParsePrimary(operand);
        case 1: return ParseSecondary(operand);
        default: return 0;
    }
}

int32_t ElementRecord::ParseSecondary(std::span<const uint16_t>) {
    fieldCount_ = 0;
    return 0;
}

int32_t ElementRecord::keep(std::span<const uint16_t> operand, int32_t count) {
    fieldCount_ = std::min({operand.size(), static_cast<size_t>(count), kMaxFields});
    std::copy_n(operand.begin(), fieldCount_, fields_.begin());
    return count;
}

bool ElementRecord::hasMarker(std::span<const uint16_t> operand) {
    return operand.size() > 5 && operand[5] == 0xFFFF;
}

int32_t RuleRecord::ParsePrimary(std::span<const uint16_t> operand) {
    return keep(operand, hasMarker(operand) ? 7 : 5);
}

int32_t PictureRecordKind::ParsePrimary(std::span<const uint16_t> operand) {
    return keep(operand, 13);
}

int32_t EllipseRecord::ParsePrimary(std::span<const uint16_t> operand) { return keep(operand, 11); }

int32_t BracketRecord::ParsePrimary(std::span<const uint16_t> operand) { return keep(operand, 5); }

int32_t CornerFrameRecord::ParsePrimary(std::span<const uint16_t> operand) {
    return keep(operand, hasMarker(operand) ? 7 : 5);
}

int32_t LegacyFrameRecord::ParsePrimary(std::span<const uint16_t> operand) {
    return keep(operand, 5);
}

int32_t SizedFrameRecord::ParsePrimary(std::span<const uint16_t> operand) {
    return keep(operand, hasMarker(operand) ? 6 : 5);
}

std::unique_ptr<ElementRecord> createElementRecord(uint16_t code, int32_t mode) {
    switch (code) {
        case kRule06:
        case kRule07:
        case kRule08: return std::make_unique<RuleRecord>(mode);
        case kArrowRule: return std::make_unique<ArrowRuleRecord>(mode);
        case kHeavyRule: return std::make_unique<HeavyRuleRecord>(mode);
        case kHeavyRuleAlt: return std::make_unique<HeavyRuleAltRecord>(mode);
        case kPicture: return std::make_unique<PictureRecordKind>(mode);
        case kEllipse: return std::make_unique<EllipseRecord>(mode);
        case kBracket0C:
        case kBracket0D: return std::make_unique<BracketRecord>(mode);
        case kCornerFrame10:
        case kCornerFrame11: return std::make_unique<CornerFrameRecord>(mode);
        case kLegacyFrame: return std::make_unique<LegacyFrameRecord>(mode);
        case kSizedFrame16:
        case kSizedFrame17: return std::make_unique<SizedFrameRecord>(mode);
        default: return nullptr;
    }
}

}  // namespace vyn
