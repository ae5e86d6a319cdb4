#pragma once

#include <QString>

// The general number form of the export files: at most 15 significant digits
// (rounded), no trailing zeros, no thousands separators, exponent notation
// ("1E-6", "1.5E20") when a non-zero magnitude is below 0.00001 or its integer
// part needs more than 15 digits.
QString generalFloatText(double value, QChar decimalSeparator = QLatin1Char('.'));
