#pragma once

#include "db/FieldType.h"
#include "writers/FormatSettings.h"

#include <QFlags>
#include <QString>
#include <QVariant>
#include <QVector>

#include <stdexcept>

// A failure of a writer run; the text names the file or value and is shown to the user as it is.
class WriterError : public std::runtime_error {
public:
    explicit WriterError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// The cell types of the export files, by their codes.
enum TFelvCellType {
    ctBlank = 0,
    ctInteger = 1,
    ctNumber = 2,
    ctText = 3,
    ctDateTime = 4,
    ctDate = 5,
    ctCurrency = 6,
    ctTime = 7
};

enum TFelvFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TFelvFont {
    QString Name = QStringLiteral("MS Sans Serif");
    int Size = 8;  // points
    int Style = 0; // TFelvFontStyle bits

    bool operator==(const TFelvFont &o) const { return Name == o.Name && Size == o.Size && Style == o.Style; }
};

struct TFelvColumnTitle {
    QString Caption;
    TAlignment Alignment = taLeftJustify;
    TFelvFont Font;
};

struct TFelvColumn {
    QString FieldName;
    TFelvColumnTitle Title;
    TFelvFont Font;
    int Width = 0; // characters
    TAlignment Alignment = taLeftJustify;
    bool Visible = true;
};

using TFelvColumns = QVector<TFelvColumn>;

// The separators and currency string a run writes and parses values with.
struct TFelvDataFormats {
    QChar DateSeparator;
    QChar TimeSeparator;
    QChar ThousandSeparator;
    QChar DecimalSeparator;
    QString CurrencyString;

    static TFelvDataFormats fromSettings(const FormatSettings &settings);
};

enum TFelvOption { soShowMessage = 0x1 };
using TFelvOptions = QFlags<TFelvOption>;

// Common properties, messages and data formats of the export writers, and the
// text of a field's value.
class TFelvCustomBaseComponent {
public:
    TFelvCustomBaseComponent();
    virtual ~TFelvCustomBaseComponent() = default;

    bool AnimatedStatus() const { return m_animatedStatus; }
    void setAnimatedStatus(bool on) { m_animatedStatus = on; }
    const QString &KeyGenerator() const { return m_keyGenerator; }
    void setKeyGenerator(const QString &caption) { m_keyGenerator = caption; }
    TFelvOptions Options() const { return m_options; }
    void setOptions(TFelvOptions options) { m_options = options; }
    const TFelvDataFormats &DataFormats() const { return m_dataFormats; }
    void setDataFormats(const TFelvDataFormats &formats) { m_dataFormats = formats; }
    bool AddTitle() const { return m_addTitle; }
    void setAddTitle(bool on) { m_addTitle = on; }

    // The writers' messages by number; "%s" stands for the argument.
    static QString Message(int number, const QString &argument = QString());
    static TFelvCellType cellTypeOf(db::FieldType type);

    QString GetFieldText(const db::FieldDef &field, const QVariant &value) const;
    // The extension of the writer's format, for callers that build file names.
    virtual QString GetDefaultExtension() const;

protected:
    virtual void RunExport() = 0;

    // The data formats are in force over the locale's settings only between these two calls.
    void applyDataFormats();
    void restoreFormatSettings();
    const FormatSettings &formatSettings() const { return m_formatSettings; }

private:
    bool m_animatedStatus = true;
    QString m_keyGenerator;
    TFelvOptions m_options = soShowMessage;
    TFelvDataFormats m_dataFormats;
    bool m_addTitle = false;
    FormatSettings m_localeSettings;
    FormatSettings m_formatSettings;
};

// The settings this program gives both of its export writers: the progress
// caption, a title row, and fixed separators and currency whatever the locale.
void useExportSettings(TFelvCustomBaseComponent &writer);

