#pragma once

#include "writers/Felv2Cell.h"

// Writes the dataset as delimited text: cells joined by Separator, rows ended by RecordSeparator.
class TFelvanToText : public TFelvanToCellFile {
public:
    QChar Separator() const { return m_separator; }
    void setSeparator(QChar separator) { m_separator = separator; }
    const QString &RecordSeparator() const { return m_recordSeparator; }
    void setRecordSeparator(const QString &separator) { m_recordSeparator = separator; }

    QString GetDefaultExtension() const override;

protected:
    void EndRow() override;
    void WriteCell(TFelvCellType cellType, int row, int column, const QString &text, TAlignment alignment,
                   const TFelvFont &font) override;

private:
    QString quotedIfNeeded(const QString &text) const;

    QChar m_separator = QLatin1Char('\t');
    QString m_recordSeparator = QStringLiteral("\r\n");
};
