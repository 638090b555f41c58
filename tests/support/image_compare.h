// Comparing rendered pages with references under a tolerance that survives antialiasing.
#pragma once

#include <QImage>
#include <algorithm>
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

/// Share of the pixels of `a` that lie more than `levels` outside the range of the pixels of `b`
/// within `reach` of them, or of `b` outside `a`'s range: antialiasing and a rounding of a
/// glyph's place by a pixel stay within the range, while a stroke, a baseline or a rule moved
/// further, or missing, does not. 1 when the sizes differ.
inline double strayShare(const QImage& a, const QImage& b, int reach, int levels) {
    if (a.size() != b.size() || a.isNull()) {
        return 1.0;
    }
    const QImage greyA = a.convertToFormat(QImage::Format_Grayscale8);
    const QImage greyB = b.convertToFormat(QImage::Format_Grayscale8);
    const auto strays = [&](const QImage& image, const QImage& around) {
        size_t count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                int low = 255;
                int high = 0;
                for (int v = std::max(0, y - reach); v <= std::min(image.height() - 1, y + reach);
                     ++v) {
                    const uchar* row = around.constScanLine(v);
                    for (int u = std::max(0, x - reach);
                         u <= std::min(image.width() - 1, x + reach); ++u) {
                        low = std::min<int>(low, row[u]);
                        high = std::max<int>(high, row[u]);
                    }
                }
                const int value = image.constScanLine(y)[x];
                count += value < low - levels || value > high + levels ? 1 : 0;
            }
        }
        return count;
    };
    const size_t pixels = size_t(greyA.width()) * size_t(greyA.height());
    return double(std::max(strays(greyA, greyB), strays(greyB, greyA))) / double(pixels);
}

}  // namespace fixtures
