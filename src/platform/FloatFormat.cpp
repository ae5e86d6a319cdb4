#include "platform/FloatFormat.h"

#include <cmath>

QString generalFloatText(double value, QChar decimalSeparator)
{
    if (value == 0.0 || std::isnan(value))
        return QStringLiteral("0");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");

    // "d.dddddddddddddde±x": 15 significant digits, rounded.
    const QString scientific = QString::number(std::fabs(value), 'e', 14);
    const int ePos = scientific.indexOf(QLatin1Char('e'));
    QString digits = scientific.left(ePos).remove(QLatin1Char('.'));
    const int exponent = scientific.mid(ePos + 1).toInt();
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);

    QString text;
    if (exponent < -5 || exponent >= 15) {
        text = digits.left(1);
        if (digits.size() > 1)
            text += decimalSeparator + digits.mid(1);
        text += QLatin1Char('E') + QString::number(exponent);
    } else if (exponent < 0) {
        text = QStringLiteral("0") + decimalSeparator + QString(-exponent - 1, QLatin1Char('0')) + digits;
    } else if (digits.size() <= exponent + 1) {
        text = digits + QString(exponent + 1 - digits.size(), QLatin1Char('0'));
    } else {
        text = digits.left(exponent + 1) + decimalSeparator + digits.mid(exponent + 1);
    }
    return value < 0 ? QLatin1Char('-') + text : text;
}
