#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Texts in the system locale's names and separators.

// "dddd, mmmm d, yyyy": "Friday, December 11, 2026".
QString longDateText(const QDate &date);
// "mmmm d, yyyy - hh:nn": "December 11, 2026 - 09:05".
QString stampText(const QDateTime &dateTime);
// "0.00": two decimals rounded half away from zero on the value's 15
// significant digits, the locale's decimal separator, no thousands separator.
QString sumText(double value);
// The default date-time text: the short date, a blank, the long time.
QString defaultDateTimeText(const QDateTime &dateTime);
