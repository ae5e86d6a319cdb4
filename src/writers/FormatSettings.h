#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>

// The formatting settings a writer run converts values with: separators and
// currency string, plus the user's short date and time patterns in the export
// files' pattern style ("M/d/yyyy", "h:mm AMPM"). A "/" in the date pattern
// stands for the date separator, as in the patterns the spreadsheet formats use.
struct FormatSettings {
    QChar decimalSeparator;
    QChar dateSeparator;
    QChar timeSeparator;
    QChar thousandSeparator;
    QString currencyString;
    QString shortDatePattern;
    QString shortTimePattern;

    static FormatSettings fromLocale(const QLocale &locale);

    QString dateText(const QDate &date) const;
    QString timeText(const QTime &time) const;
    QString dateTimeText(const QDateTime &dateTime) const;
    QDate parseDate(const QString &text) const; // invalid when the text is no date
    QDateTime parseDateTime(const QString &text) const;
    QTime parseTime(const QString &text) const;
    bool parseNumber(const QString &text, double *value) const;
};

// A locale's short date pattern with the year widened to four digits, so that
// dates keep their century.
QString localeShortDatePattern(const QLocale &locale);
// "h" or "hh", ":mm", and "AMPM" after (or before) it for a 12-hour clock.
QString localeShortTimePattern(const QLocale &locale);
