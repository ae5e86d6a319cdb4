#include "writers/Felv2XLS.h"

#include <QtEndian>

#include <cstring>

namespace {

enum Record : quint16 {
    Dimensions = 0x0000,
    Blank = 0x0001,
    Integer = 0x0002,
    Number = 0x0003,
    Label = 0x0004,
    Eof = 0x000A,
    Format = 0x001E,
    ColWidth = 0x0024,
    Font = 0x0031,
    Bof = 0x0409,
};

constexpr int MaxFonts = 4;
constexpr int MaxTextBytes = 255;
const QDate dayZero(1899, 12, 30);

void appendU8(QByteArray &data, int value) {
    data.append(char(quint8(value)));
}

void appendU16(QByteArray &data, int value) {
    appendU8(data, value & 0xFF);
    appendU8(data, (value >> 8) & 0xFF);
}

void appendDouble(QByteArray &data, double value) {
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const quint64 little = qToLittleEndian(bits);
    data.append(reinterpret_cast<const char *>(&little), sizeof little);
}

void appendText(QByteArray &data, const QByteArray &bytes) {
    const QByteArray text = bytes.left(MaxTextBytes);
    appendU8(data, text.size());
    data.append(text);
}

int alignmentByte(TAlignment alignment) {
    switch (alignment) {
    case taRightJustify:
        return 3;
    case taCenter:
        return 2;
    case taLeftJustify:
        break;
    }
    return 1;
}

// The format record a cell refers to; cells without one of their own get 5 + font index.
int formatNumber(TFelvCellType cellType, int font) {
    switch (cellType) {
    case ctDateTime:
        return 3;
    case ctDate:
        return 1;
    case ctCurrency:
        return 4;
    case ctTime:
        return 2;
    default:
        return font == 0 ? 0 : 5 + font;
    }
}

double dayNumber(const QDateTime &dateTime) {
    return dayZero.daysTo(dateTime.date()) + dateTime.time().msecsSinceStartOfDay() / 86400000.0;
}

} // namespace

QString TFelvanToXLS::GetDefaultExtension() const {
    return QStringLiteral(".XLS");
}

void TFelvanToXLS::BeginFile() {
    TFelvanToCellFile::BeginFile();
    m_fonts.clear();
    QByteArray bof;
    appendU16(bof, 0);
    appendU16(bof, 0x10); // worksheet
    appendU16(bof, 0);
    writeRecord(Bof, bof);
    WriteFormat(QStringLiteral("General"));
    WriteFormat(formatSettings().shortDatePattern);
    WriteFormat(formatSettings().shortTimePattern);
    WriteFormat(formatSettings().shortDatePattern);
    WriteFormat(QStringLiteral("00.00") + formatSettings().currencyString);
}

void TFelvanToXLS::EndFile() {
    QByteArray fonts;
    for (const TFelvFont &font : std::as_const(m_fonts))
        WriteFont(font, fonts);
    m_fonts.clear();
    WriteText(fonts);
    writeRecord(Eof, QByteArray());
}

void TFelvanToXLS::WriteDimensions(int rows, int columns) {
    if (rows > MaxRows)
        throw WriterError(QStringLiteral("\"%1\" cannot hold %2 rows: a spreadsheet file holds at most %3.")
                              .arg(FileName())
                              .arg(rows)
                              .arg(MaxRows));
    if (columns - 1 > MaxColumns)
        throw WriterError(QStringLiteral("\"%1\" cannot hold %2 columns: a spreadsheet file holds at most %3.")
                              .arg(FileName())
                              .arg(columns - 1)
                              .arg(MaxColumns));
    QByteArray data;
    appendU16(data, 0);
    appendU16(data, rows);
    appendU16(data, 0);
    appendU16(data, columns);
    appendU16(data, 0);
    writeRecord(Dimensions, data);
}

void TFelvanToXLS::WriteColumnWidth(int column, int width) {
    if (width < 1)
        return;
    QByteArray data;
    appendU8(data, column);
    appendU8(data, column);
    appendU16(data, (width == 10 ? 12 : width) * 256);
    writeRecord(ColWidth, data);
}

void TFelvanToXLS::WriteCell(TFelvCellType cellType, int row, int column, const QString &text, TAlignment alignment,
                             const TFelvFont &font) {
    if (row >= MaxRows)
        throw WriterError(QStringLiteral("\"%1\" cannot hold more than %2 rows.").arg(FileName()).arg(MaxRows));
    const int fontNumber = fontIndex(font);
    QByteArray data;
    appendU16(data, row);
    appendU16(data, column);
    appendU8(data, 0);
    appendU8(data, fontNumber * 64 + formatNumber(cellType, fontNumber));
    appendU8(data, alignmentByte(alignment));
    quint16 record = Blank;
    if (!text.isEmpty())
        data.append(cellValue(cellType, text, &record));
    writeRecord(record, data);
}

// The value bytes of a non-empty cell and the kind of record that holds them.
QByteArray TFelvanToXLS::cellValue(TFelvCellType cellType, const QString &text, quint16 *record) {
    QByteArray value;
    double number = 0;
    switch (cellType) {
    case ctInteger:
        number = text.toLongLong();
        break; // 0 when not an integer
    case ctDate: {
        const QDate date = formatSettings().parseDate(text);
        if (!date.isValid())
            throw WriterError(QStringLiteral("\"%1\" is not a valid date.").arg(text));
        number = dayZero.daysTo(date);
        break;
    }
    case ctNumber:
    case ctCurrency:
        if (!formatSettings().parseNumber(text, &number))
            number = 0;
        break;
    case ctDateTime: {
        const QDateTime dateTime = formatSettings().parseDateTime(text);
        number = dateTime.isValid() ? dayNumber(dateTime) : 0;
        break;
    }
    case ctTime: {
        const QTime time = formatSettings().parseTime(text);
        number = time.isValid() ? time.msecsSinceStartOfDay() / 86400000.0 : 0;
        break;
    }
    default:
        *record = Label;
        appendText(value, encoded(text));
        return value;
    }
    // Small whole numbers fit an INTEGER record: integers up to 255, any date of its 16 bits.
    const int integerLimit = cellType == ctDate ? 0xFFFF : 255;
    const bool asInteger = (cellType == ctInteger || cellType == ctDate) && number >= 0 && number <= integerLimit;
    *record = asInteger ? Integer : Number;
    if (asInteger)
        appendU16(value, int(number));
    else
        appendDouble(value, number);
    return value;
}

void TFelvanToXLS::WriteFont(const TFelvFont &font, QByteArray &buffer) {
    QByteArray data;
    appendU16(data, font.Size * 20);
    appendU8(data, font.Style);
    appendU8(data, 0);
    appendU16(data, 0x7FFF);
    appendText(data, encoded(font.Name));
    appendU16(buffer, Font);
    appendU16(buffer, data.size());
    buffer.append(data);
}

void TFelvanToXLS::WriteFormat(const QString &pattern) {
    QByteArray data;
    appendText(data, encoded(pattern));
    writeRecord(Format, data);
}

void TFelvanToXLS::writeRecord(quint16 number, const QByteArray &data) {
    QByteArray record;
    appendU16(record, number);
    appendU16(record, data.size());
    WriteText(record + data);
}

int TFelvanToXLS::fontIndex(const TFelvFont &font) {
    const int index = m_fonts.indexOf(font);
    if (index >= 0)
        return index;
    if (m_fonts.size() >= MaxFonts)
        return 0;
    m_fonts.append(font);
    return m_fonts.size() - 1;
}
