#include "filters/jbig2_decoder.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "support/debug_log.h"

// The decoder's header defines `inline` away for old C compilers; C++ keeps its keyword.
#include <jbig2.h>
#undef inline

namespace reader {

namespace {

// An allocator that refuses to go past kMaxJbig2Memory in all, so that a page whose header
// claims a huge size fails instead of taking the machine's memory.
struct CappedAllocator {
    Jbig2Allocator base{&CappedAllocator::alloc, &CappedAllocator::release,
                        &CappedAllocator::resize};
    size_t used = 0;

    static constexpr size_t kHeader = alignof(std::max_align_t);

    static CappedAllocator& of(Jbig2Allocator* allocator) {
        return *reinterpret_cast<CappedAllocator*>(allocator);
    }
    static void* alloc(Jbig2Allocator* allocator, size_t size) {
        CappedAllocator& self = of(allocator);
        if (size > kMaxJbig2Memory - self.used) {
            return nullptr;
        }
        auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
        if (block == nullptr) {
            return nullptr;
        }
        std::memcpy(block, &size, sizeof size);
        self.used += size;
        return block + kHeader;
    }
    static void release(Jbig2Allocator* allocator, void* p) {
        if (p == nullptr) {
            return;
        }
        unsigned char* block = static_cast<unsigned char*>(p) - kHeader;
        size_t size = 0;
        std::memcpy(&size, block, sizeof size);
        of(allocator).used -= size;
        std::free(block);
    }
    static void* resize(Jbig2Allocator* allocator, void* p, size_t size) {
        if (p == nullptr) {
            return alloc(allocator, size);
        }
        unsigned char* block = static_cast<unsigned char*>(p) - kHeader;
        size_t old = 0;
        std::memcpy(&old, block, sizeof old);
        CappedAllocator& self = of(allocator);
        if (size > old && size - old > kMaxJbig2Memory - self.used) {
            return nullptr;
        }
        auto* grown = static_cast<unsigned char*>(std::realloc(block, size + kHeader));
        if (grown == nullptr) {
            return nullptr;
        }
        std::memcpy(grown, &size, sizeof size);
        self.used = self.used - old + size;
        return grown + kHeader;
    }
};
static_assert(offsetof(CappedAllocator, base) == 0);

void logError(void* /*data*/, const char* message, Jbig2Severity severity, uint32_t /*segment*/) {
    if (severity == JBIG2_SEVERITY_FATAL) {
        WriteLog(kLogError, "%s(%s)\r\n", "JBIG2 data cannot be decoded", message);
    }
}

}  // namespace

Jbig2Decoder::Jbig2Decoder(std::unique_ptr<ByteSource> input, const DecodeParam& param)
    : input_(std::move(input)), globals_(param.jbig2Globals) {}

size_t Jbig2Decoder::read(std::span<uint8_t> out) {
    if (!decoded_) {
        decode();
    }
    const size_t n = std::min(out.size(), rows_.size() - position_);
    std::copy_n(rows_.begin() + ptrdiff_t(position_), n, out.begin());
    position_ += n;
    return n;
}

void Jbig2Decoder::decode() {
    decoded_ = true;
    std::vector<uint8_t> data;
    input_->readAll(data);
    CappedAllocator allocator;
    Jbig2GlobalCtx* globals = nullptr;
    if (globals_ != nullptr && !globals_->empty()) {
        Jbig2Ctx* context =
            jbig2_ctx_new(&allocator.base, JBIG2_OPTIONS_EMBEDDED, nullptr, logError, nullptr);
        if (context == nullptr) {
            return;
        }
        jbig2_data_in(context, globals_->data(), globals_->size());
        globals = jbig2_make_global_ctx(context);
    }
    Jbig2Ctx* context =
        jbig2_ctx_new(&allocator.base, JBIG2_OPTIONS_EMBEDDED, globals, logError, nullptr);
    if (context != nullptr) {
        jbig2_data_in(context, data.data(), data.size());
        jbig2_complete_page(context);
        if (Jbig2Image* page = jbig2_page_out(context)) {
            const size_t rowBytes = (size_t(page->width) + 7) / 8;
            rows_.resize(rowBytes * page->height);
            for (uint32_t y = 0; y < page->height; ++y) {
                const uint8_t* row = page->data + size_t(y) * page->stride;
                uint8_t* to = rows_.data() + size_t(y) * rowBytes;
                // The standard codes black as 1; images read 0 as black.
                std::transform(row, row + rowBytes, to, [](uint8_t b) { return uint8_t(~b); });
            }
            jbig2_release_page(context, page);
        }
        jbig2_ctx_free(context);
    }
    if (globals != nullptr) {
        jbig2_global_ctx_free(globals);
    }
}

}  // namespace reader
