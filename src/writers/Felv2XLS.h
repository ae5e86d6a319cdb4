#pragma once

#include "writers/Felv2Cell.h"

// Writes the dataset as a single worksheet stream of spreadsheet records:
// BOF, formats, dimensions, column widths, cells, fonts, EOF.
class TFelvanToXLS : public TFelvanToCellFile {
public:
    // A worksheet of these records holds 16,384 rows and 256 columns; readers
    // refuse or drop cells beyond, although the row field has 16 bits.
    static constexpr int MaxRows = 16384;
    static constexpr int MaxColumns = 256;

    QString GetDefaultExtension() const override;

protected:
    void BeginFile() override;
    void EndFile() override;
    void WriteDimensions(int rows, int columns) override;
    void WriteColumnWidth(int column, int width) override;
    void WriteCell(TFelvCellType cellType, int row, int column, const QString &text, TAlignment alignment,
                   const TFelvFont &font) override;
    void WriteFont(const TFelvFont &font, QByteArray &buffer);
    void WriteFormat(const QString &pattern);

private:
    void writeRecord(quint16 number, const QByteArray &data);
    int fontIndex(const TFelvFont &font);
    QByteArray cellValue(TFelvCellType cellType, const QString &text, quint16 *record);

    QVector<TFelvFont> m_fonts; // at most 4; further fonts share index 0
};
