// Hands a web address to the desktop: the browser the desktop names, else xdg-open. Results
// are numbered as the hyperlink's error report knows them (above 32: opened).
#pragma once

#include <QString>

namespace viewer {

inline constexpr int kAddressOpened = 33;
inline constexpr int kNoApplication = 31;  ///< no program to open the address with

/// Opens `address`; kAddressOpened, or the number of what went wrong.
int openAddress(const QString& address);

/// The hyperlink's report of a failed opening: "Unable to open hyperlink:" and the reason.
QString hyperlinkErrorText(int code);

}  // namespace viewer
