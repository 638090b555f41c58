// Where each object of a PDF file lies: the cross-reference sections of the file, newest first
// along /Prev, or the table rebuilt by scanning a file whose sections are missing or wrong.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>

#include "object/object.h"

namespace reader::pdf {

struct XrefEntry {
    enum class Kind : uint8_t { kFree, kInFile, kInStream };
    Kind kind = Kind::kFree;
    uint64_t offset = 0;       ///< kInFile: of the object's header
    int32_t generation = 0;    ///< kInFile
    int32_t streamNumber = 0;  ///< kInStream: the object stream holding it
    int32_t index = 0;         ///< kInStream: its place in that stream
};

struct XrefTable {
    enum class Form : uint8_t { kTable, kStream, kHybrid, kRepaired };
    Form form = Form::kTable;
    std::map<int32_t, XrefEntry> entries;
    /// The newest trailer, with the keys of older ones it lacks (the cross-reference stream's
    /// dictionary in files that have one).
    Dict trailer;

    const XrefEntry* find(int32_t number) const;
};

/// The most object numbers a table takes; numbers beyond it are ignored.
inline constexpr int32_t kMaxObjectNumber = 8'388'607;

/// The cross-reference sections the last startxref of `data` leads to, along /Prev; nothing
/// when there is no startxref or a section cannot be read (the caller then repairs).
std::optional<XrefTable> readXref(std::span<const uint8_t> data);

/// The table rebuilt from every "N G obj" of the file (a later one replacing an earlier one),
/// the objects of its object streams, and its trailers (or, without one, the catalog found).
XrefTable repairXref(std::span<const uint8_t> data);

}  // namespace reader::pdf
