// The character scanner: walks the loaded page as the interpreters do, without drawing, and
// stops at each character with the drawing state the character would be drawn in.
#include "document/page_document.h"

namespace vyn {

void PageDocument::BeginScan() {
    state_ = StateBlock{};
    fontCache_ = StateBlock{};
    currentX_ = currentY_ = characterY_ = 0;
    offsetX_ = offsetY_ = 0;
    offsetDepth_ = offsetOverflow_ = 0;
    raise_ = 0;
}

size_t PageDocument::NextCharacter(size_t index, uint8_t s[3]) {
    const std::span<const uint16_t> words = pageWords();
    if (index >= words.size()) {
        return 0;
    }
    const StreamRules rules = rulesForScanning(docType_);
    // The grammar looks only forward, so reading can start at any item boundary.
    PageStreamReader reader(words.subspan(index), rules);
    while (const std::optional<StreamItem> item = reader.next()) {
        switch (item->kind) {
            case ItemKind::Position: currentX_ = item->position; break;
            case ItemKind::Character:
                currentX_ = item->position;
                characterY_ = currentY_ + raise_;
                raise_ = 0;
                s[0] = uint8_t(item->code >> 8);
                s[1] = uint8_t(item->code);
                s[2] = 0;
                return index + item->next;
            case ItemKind::Command:
                if (item->code == kEndOfPage || item->code == kEndOfPageBare) {
                    return 0;
                }
                applyStateCommand(*item, rules.dialect, true);
                break;
            case ItemKind::Unknown: break;
        }
    }
    return 0;
}

}  // namespace vyn
