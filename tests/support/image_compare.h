// Comparing rendered pages with references under a tolerance that survives antialiasing.
#pragma once

#include <QImage>
#include <cstdlib>
#include <vector>

namespace fixtures {

/// Mean darkness (0 white, 255 black) of each `block` x `block` square of a grey image.
inline std::vector<int> blockInk(const QImage& grey, int block) {
    std::vector<int> ink;
    for (int top = 0; top + block <= grey.height(); top += block) {
        for (int left = 0; left + block <= grey.width(); left += block) {
            int sum = 0;
            for (int y = top; y < top + block; ++y) {
                for (int x = left; x < left + block; ++x) {
                    sum += 255 - grey.constScanLine(y)[x];
                }
            }
            ink.push_back(sum / (block * block));
        }
    }
    return ink;
}

/// Share of blocks whose darkness differs by more than `levels`; 1 when the sizes differ.
/// Comparing blocks rather than pixels lets antialiasing and hinting differ while text, rules
/// and pictures must be in place.
inline double differingShare(const QImage& a, const QImage& b, int block, int levels) {
    if (a.size() != b.size()) {
        return 1.0;
    }
    const QImage greyA = a.convertToFormat(QImage::Format_Grayscale8);
    const QImage greyB = b.convertToFormat(QImage::Format_Grayscale8);
    const std::vector<int> inkA = blockInk(greyA, block);
    const std::vector<int> inkB = blockInk(greyB, block);
    size_t differing = 0;
    for (size_t i = 0; i < inkA.size(); ++i) {
        differing += std::abs(inkA[i] - inkB[i]) > levels ? 1 : 0;
    }
    return inkA.empty() ? 1.0 : double(differing) / double(inkA.size());
}

}  // namespace fixtures
