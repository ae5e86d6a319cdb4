#include "writers/FelvEngDB.h"

namespace {

// Display width of a field: its length for text, 10 for numbers.
int displayWidth(const db::FieldDef &field) {
    switch (field.type) {
    case db::FieldType::Alpha:
        return field.size;
    case db::FieldType::Timestamp:
        return 18;
    case db::FieldType::Logical:
        return 5;
    default:
        return 10;
    }
}

} // namespace

void TFelvCustomDBDataEngine::FillColumns(TFelvColumns &columns) const {
    for (const db::FieldDef &field : DataSet().fields()) {
        TFelvColumn column;
        column.FieldName = field.name;
        column.Alignment = db::isNumeric(field.type) ? taRightJustify : taLeftJustify;
        column.Width = displayWidth(field);
        column.Title.Caption = field.name;
        column.Title.Alignment = column.Alignment;
        column.Title.Font.Style = fsBold;
        columns.append(column);
    }
}

bool TFelvCustomDBDataEngine::Eof() const {
    return DataSet().eof();
}

void TFelvCustomDBDataEngine::First() {
    DataSet().first();
}

void TFelvCustomDBDataEngine::Next() {
    DataSet().next();
}

int TFelvCustomDBDataEngine::RecordCount() const {
    return DataSet().recordCount();
}

int TFelvCustomDBDataEngine::FindField(const TFelvColumn &column) const {
    return DataSet().fieldIndex(column.FieldName);
}

const db::FieldDef &TFelvCustomDBDataEngine::Field(int field) const {
    return DataSet().fields().at(field);
}

QVariant TFelvCustomDBDataEngine::GetValue(int field) const {
    return DataSet().value(field);
}

int TFelvCustomDBDataEngine::CodePage() const {
    return DataSet().codePage();
}
