#include "writers/ExportDS.h"

#include "platform/FloatFormat.h"

#include <QLocale>

TFelvDataFormats TFelvDataFormats::fromSettings(const FormatSettings &settings) {
    return {settings.dateSeparator, settings.timeSeparator, settings.thousandSeparator, settings.decimalSeparator,
            settings.currencyString};
}

TFelvCustomBaseComponent::TFelvCustomBaseComponent() {
    // Separators follow the current locale; the date and time patterns are the user's.
    const FormatSettings current = FormatSettings::fromLocale(QLocale());
    m_localeSettings = FormatSettings::fromLocale(QLocale::system());
    m_dataFormats = TFelvDataFormats::fromSettings(current);
    m_formatSettings = m_localeSettings;
}

QString TFelvCustomBaseComponent::Message(int number, const QString &argument) {
    switch (number) {
    case 0:
        return QStringLiteral("Property %1 is not specified.").arg(argument);
    case 2:
        return QStringLiteral("The %1 file was successfully generated with exported data.").arg(argument);
    case 3:
        return QStringLiteral("Error of data export.");
    case 8:
        return QStringLiteral("Exporting...");
    case 12:
        return QStringLiteral("&Cancel");
    case 16:
        return QStringLiteral("Data export was canceled by user.");
    }
    return QString();
}

TFelvCellType TFelvCustomBaseComponent::cellTypeOf(db::FieldType type) {
    switch (type) {
    case db::FieldType::Short:
    case db::FieldType::Long:
    case db::FieldType::AutoInc:
        return ctInteger;
    case db::FieldType::Number:
    case db::FieldType::BCD:
        return ctNumber;
    case db::FieldType::Money:
        return ctCurrency;
    case db::FieldType::Date:
        return ctDate;
    case db::FieldType::Time:
        return ctTime;
    case db::FieldType::Timestamp:
        return ctDateTime;
    default:
        return ctText;
    }
}

QString TFelvCustomBaseComponent::GetFieldText(const db::FieldDef &field, const QVariant &value) const {
    if (value.isNull())
        return QString();
    switch (field.type) {
    case db::FieldType::Short:
    case db::FieldType::Long:
    case db::FieldType::AutoInc:
        return QString::number(value.toLongLong());
    case db::FieldType::Number:
    case db::FieldType::Money:
    case db::FieldType::BCD:
        return generalFloatText(value.toDouble(), m_formatSettings.decimalSeparator);
    case db::FieldType::Date:
        return m_formatSettings.dateText(value.toDate());
    case db::FieldType::Time:
        return m_formatSettings.timeText(value.toTime());
    case db::FieldType::Timestamp:
        return m_formatSettings.dateTimeText(value.toDateTime());
    case db::FieldType::Logical:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return value.toString();
    }
}

QString TFelvCustomBaseComponent::GetDefaultExtension() const {
    return QStringLiteral(".EXP");
}

void TFelvCustomBaseComponent::applyDataFormats() {
    m_formatSettings = m_localeSettings;
    m_formatSettings.decimalSeparator = m_dataFormats.DecimalSeparator;
    m_formatSettings.dateSeparator = m_dataFormats.DateSeparator;
    m_formatSettings.timeSeparator = m_dataFormats.TimeSeparator;
    m_formatSettings.thousandSeparator = m_dataFormats.ThousandSeparator;
    m_formatSettings.currencyString = m_dataFormats.CurrencyString;
}

void TFelvCustomBaseComponent::restoreFormatSettings() {
    m_formatSettings = m_localeSettings;
}

void useExportSettings(TFelvCustomBaseComponent &writer) {
    writer.setAnimatedStatus(true);
    writer.setKeyGenerator(QStringLiteral("quarvex Crewmint Export"));
    writer.setOptions(soShowMessage);
    writer.setAddTitle(true);
    writer.setDataFormats(
        {QLatin1Char('/'), QLatin1Char(':'), QLatin1Char(','), QLatin1Char('.'), QStringLiteral("$")});
}
