#include "writers/Felv2TXT.h"

QString TFelvanToText::GetDefaultExtension() const {
    return QStringLiteral(".CSV");
}

void TFelvanToText::EndRow() {
    TFelvanToCellFile::EndRow();
    WriteText(encoded(m_recordSeparator));
}

void TFelvanToText::WriteCell(TFelvCellType, int, int column, const QString &text, TAlignment, const TFelvFont &) {
    QString cell = quotedIfNeeded(text);
    if (column < visibleColumnCount() - 1 && !m_separator.isNull())
        cell += m_separator;
    WriteText(encoded(cell));
}

// A value holding the separator, a quote or a line break is enclosed in quotes,
// its quotes doubled, so every line keeps the title row's number of fields.
QString TFelvanToText::quotedIfNeeded(const QString &text) const {
    const QChar quote = QLatin1Char('"');
    const bool needsQuotes = (!m_separator.isNull() && text.contains(m_separator)) || text.contains(quote) ||
                             text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
    if (!needsQuotes)
        return text;
    return quote + QString(text).replace(quote, QStringLiteral("\"\"")) + quote;
}
