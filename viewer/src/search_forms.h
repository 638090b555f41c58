// The forms in which a search term is looked for on a page: as typed, in lower and upper case,
// and in the full-width forms of those, which is how typeset pages often store Latin text.
#pragma once

#include <QByteArray>
#include <vector>

namespace viewer {

/// The longest form the page marking takes, in bytes.
inline constexpr qsizetype kLongestSearchForm = 255;

/// ASCII bytes 0x20-0x7E as their double-byte full-width forms (0xA3, byte + 0x80);
/// double-byte characters (GB2312 or Big5) and other bytes as they are.
QByteArray fullWidthForm(const QByteArray& text);

/// The six forms in the order they are tried: as typed, lower case, upper case, full-width as
/// typed, full-width upper case, full-width lower case.
std::vector<QByteArray> searchForms(const QByteArray& text);

/// Whether every form of `text` fits the marking's buffer.
bool fitsSearchForms(const QByteArray& text);

}  // namespace viewer
