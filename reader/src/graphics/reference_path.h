// The references being read, outermost first, so that an object containing itself is refused
// while objects shared by several others are still read.
#pragma once

#include <algorithm>
#include <optional>
#include <vector>

#include "object/object.h"

namespace reader::pdf {

/// Enters `object`'s reference (if it is one) on `path` for the guard's life; entered() is
/// false when the reference is already on the path.
class ReferencePathGuard {
  public:
    ReferencePathGuard(std::vector<Ref>& path, const Object& object) : path_(path) {
        if (const std::optional<Ref> ref = object.asRef()) {
            cycle_ = std::find(path.begin(), path.end(), *ref) != path.end();
            pushed_ = !cycle_;
            if (pushed_) {
                path.push_back(*ref);
            }
        }
    }
    ~ReferencePathGuard() {
        if (pushed_) {
            path_.pop_back();
        }
    }
    ReferencePathGuard(const ReferencePathGuard&) = delete;
    ReferencePathGuard& operator=(const ReferencePathGuard&) = delete;

    bool entered() const { return !cycle_; }

  private:
    std::vector<Ref>& path_;
    bool cycle_ = false;
    bool pushed_ = false;
};

}  // namespace reader::pdf
