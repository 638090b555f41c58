// The element records: objects that measure a first-dialect element's operand and keep its
// words. The first-dialect interpreter and scanner take an element's length from its record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace vyn {

enum class ElementKind : int32_t {
    Rule,
    ArrowRule,
    HeavyRule,
    HeavyRuleAlt,
    Picture,
    Ellipse,
    Bracket,
    CornerFrame,
    LegacyFrame,
    SizedFrame,
};

class ElementRecord {
  public:
    virtual ~ElementRecord() = default;
    ElementRecord(const ElementRecord&) = delete;
    ElementRecord& operator=(const ElementRecord&) = delete;

    /// Mode 0 parses with `ParsePrimary`, mode 1 with `ParseSecondary`; any other mode parses
    /// nothing and returns 0.
    int32_t Parse(std::span<const uint16_t> operand);
    ElementKind GetKind() const { return kind_; }

    /// Keeps the element's words from `operand` (w0 first) and returns the operand length in
    /// words. Reads only the words it counts; when `operand` holds fewer it keeps those and
    /// still returns the full count.
    virtual int32_t ParsePrimary(std::span<const uint16_t> operand) = 0;
    /// No element has a secondary layout: keeps nothing and returns 0.
    virtual int32_t ParseSecondary(std::span<const uint16_t> operand);

    /// The operand words kept by the last parse, in order.
    std::span<const uint16_t> fields() const { return std::span(fields_).first(fieldCount_); }

  protected:
    ElementRecord(ElementKind kind, int32_t mode) : kind_(kind), mode_(mode) {}

    /// Keeps the first `count` words of `operand` (fewer when it is shorter); returns `count`.
    int32_t keep(std::span<const uint16_t> operand, int32_t count);
    /// Whether the marker word w5 is present and 0xFFFF.
    static bool hasMarker(std::span<const uint16_t> operand);

  private:
    static constexpr size_t kMaxFields = 13;

    ElementKind kind_;
    int32_t mode_;
    std::array<uint16_t, kMaxFields> fields_{};
    size_t fieldCount_ = 0;
};

/// Straight rule (0x8006 to 0x8008): 5 words, or 7 when w5 = 0xFFFF (w6 kept as the value).
class RuleRecord : public ElementRecord {
  public:
    explicit RuleRecord(int32_t mode = 0) : RuleRecord(ElementKind::Rule, mode) {}
    int32_t ParsePrimary(std::span<const uint16_t> operand) override;

  protected:
    RuleRecord(ElementKind kind, int32_t mode) : ElementRecord(kind, mode) {}
};

/// `ArrowRule` (0x8028), measured as a rule.
class ArrowRuleRecord : public RuleRecord {
  public:
    explicit ArrowRuleRecord(int32_t mode = 0) : RuleRecord(ElementKind::ArrowRule, mode) {}
};

/// `HeavyRule` (0x8029), measured as a rule.
class HeavyRuleRecord : public RuleRecord {
  public:
    explicit HeavyRuleRecord(int32_t mode = 0) : RuleRecord(ElementKind::HeavyRule, mode) {}
};

/// `HeavyRuleAlt` (0x802A), measured as a rule.
class HeavyRuleAltRecord : public RuleRecord {
  public:
    explicit HeavyRuleAltRecord(int32_t mode = 0) : RuleRecord(ElementKind::HeavyRuleAlt, mode) {}
};

/// `Picture` (0x800A): the 13 words of a picture record.
class PictureRecordKind : public ElementRecord {
  public:
    explicit PictureRecordKind(int32_t mode = 0) : ElementRecord(ElementKind::Picture, mode) {}
    int32_t ParsePrimary(std::span<const uint16_t> operand) override;
};

/// `Ellipse` (0x800B): 11 words.
class EllipseRecord : public ElementRecord {
  public:
    explicit EllipseRecord(int32_t mode = 0) : ElementRecord(ElementKind::Ellipse, mode) {}
    int32_t ParsePrimary(std::span<const uint16_t> operand) override;
};

/// `Bracket` (0x800C, 0x800D): 5 words.
class BracketRecord : public ElementRecord {
  public:
    explicit BracketRecord(int32_t mode = 0) : ElementRecord(ElementKind::Bracket, mode) {}
    int32_t ParsePrimary(std::span<const uint16_t> operand) override;
};

/// `CornerFrame` (0x8010, 0x8011): 5 words, or 7 when w5 = 0xFFFF.
class CornerFrameRecord : public ElementRecord {
  public:
    explicit CornerFrameRecord(int32_t mode = 0) : ElementRecord(ElementKind::CornerFrame, mode) {}
    int32_t ParsePrimary(std::span<const uint16_t> operand) override;
};

/// `LegacyFrame` (0x8020): 5 words.
class LegacyFrameRecord : public ElementRecord {
  public:
    explicit LegacyFrameRecord(int32_t mode = 0) : ElementRecord(ElementKind::LegacyFrame, mode) {}
    int32_t ParsePrimary(std::span<const uint16_t> operand) override;
};

/// `SizedFrame` (0x8016, 0x8017): 5 words, or 6 when w5 = 0xFFFF (the marker alone, no value).
class SizedFrameRecord : public ElementRecord {
  public:
    explicit SizedFrameRecord(int32_t mode = 0) : ElementRecord(ElementKind::SizedFrame, mode) {}
    int32_t ParsePrimary(std::span<const uint16_t> operand) override;
};

/// The record of the first-dialect element with command `code`, in mode `mode`; null when no
/// record kind measures that code.
std::unique_ptr<ElementRecord> createElementRecord(uint16_t code, int32_t mode = 0);

}  // namespace vyn
