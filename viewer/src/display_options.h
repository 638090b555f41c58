// The display options every view shares: page text in Simplified or Traditional Chinese, the
// base font and the page background, each kept in the machine store.
#pragma once

#include <QColor>
#include <QString>
#include <cstdint>

namespace viewer {

/// Chosen where no VYN/QD view is active: the choice is stored, and the engine follows only
/// when it was (a store written for the first time stores nothing). True when stored.
bool choosePageTextWithoutView(bool simplified);
/// Chosen in a VYN/QD view: stored at once, creating the store when missing; false after the
/// "Error" message when the store cannot be written. The caller reloads its page.
bool choosePageTextInView(bool simplified);
/// Stores the base font's face name and gives it to the engine when stored.
bool chooseBaseFont(const QString& face);
/// Stores the page background for views opened later; true when stored.
bool storeBackgroundColour(const QColor& colour);

/// 0x00BBGGRR and back.
uint32_t colourRef(const QColor& colour);
QColor colourOf(uint32_t colourRef);

}  // namespace viewer
