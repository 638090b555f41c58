// Walks arbitrary page words with every grammar. The first byte picks the document type, the rest
// are the words, little-endian; they sit in a heap block of exactly their size, so the address
// sanitizer reports any read past the word count.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "stream/page_stream.h"

namespace {

constexpr int32_t kDocTypes[] = {0, 1, 2, 23112};

// A name taken from a path is at most 7 bytes, one per word, and always ends in a 0 word.
bool isByteName(const vyn::PictureRecord& record) {
    for (const uint16_t word : record.name) {
        if (word == 0) {
            return true;
        }
        if (word > 0xFF) {
            return false;
        }
    }
    return false;
}

void walk(std::span<const uint16_t> words, vyn::StreamRules rules) {
    vyn::PageStreamReader reader(words, rules);
    size_t index = 0;
    while (const auto item = reader.next()) {
        const bool inside = item->index == index && item->next > item->index &&
                            item->next <= words.size() && reader.nextIndex() == item->next;
        const bool operandInside =
            item->operand.empty() || (item->operand.data() == words.data() + item->index + 1 &&
                                      item->index + 1 + item->operand.size() == item->next);
        if (!inside || !operandInside || (item->truncated && item->next != words.size())) {
            __builtin_trap();
        }
        if (item->kind == vyn::ItemKind::Command) {
            const auto record = vyn::buildPictureRecord(item->code, item->operand);
            if (record && item->code == vyn::kPathPicture && !isByteName(*record)) {
                __builtin_trap();
            }
        }
        index = item->next;
    }
    if (index != words.size()) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const int32_t docType = kDocTypes[data[0] % std::size(kDocTypes)];
    const size_t count = (size - 1) / 2;
    std::unique_ptr<uint16_t[]> words(new uint16_t[count]);
    for (size_t i = 0; i < count; ++i) {
        words[i] = static_cast<uint16_t>(data[1 + 2 * i] | data[2 + 2 * i] << 8);
    }
    const std::span<const uint16_t> page(words.get(), count);
    walk(page, vyn::rulesForDrawing(docType));
    walk(page, vyn::rulesForScanning(docType));
    return 0;
}
