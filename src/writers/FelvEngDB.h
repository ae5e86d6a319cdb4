#pragma once

#include "db/Dataset.h"
#include "writers/ExportDS.h"

// What a writer reads its rows through: created per run over the data source.
class TFelvCustomDataEngine {
public:
    virtual ~TFelvCustomDataEngine() = default;
    virtual void FillColumns(TFelvColumns &columns) const = 0;
    virtual bool Eof() const = 0;
    virtual void First() = 0;
    virtual void Next() = 0;
    virtual int RecordCount() const = 0;
    // The index of the column's field, -1 when the source has no such field.
    virtual int FindField(const TFelvColumn &column) const = 0;
    virtual const db::FieldDef &Field(int field) const = 0;
    virtual QVariant GetValue(int field) const = 0;
    virtual int CodePage() const = 0;
};

// An engine over a dataset: rows, fields and values come from it.
class TFelvCustomDBDataEngine : public TFelvCustomDataEngine {
public:
    void FillColumns(TFelvColumns &columns) const override;
    bool Eof() const override;
    void First() override;
    void Next() override;
    int RecordCount() const override;
    int FindField(const TFelvColumn &column) const override;
    const db::FieldDef &Field(int field) const override;
    QVariant GetValue(int field) const override;
    int CodePage() const override;

protected:
    virtual db::Dataset &DataSet() const = 0;
};

// The engine over a dataset given to it; the dataset is not owned.
class TFelvDatasetDataEngine : public TFelvCustomDBDataEngine {
public:
    explicit TFelvDatasetDataEngine(db::Dataset &dataSet) : m_dataSet(dataSet) {}

protected:
    db::Dataset &DataSet() const override { return m_dataSet; }

private:
    db::Dataset &m_dataSet;
};
