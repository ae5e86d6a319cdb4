#pragma once

#include <QDialog>

class TExportCSVFrm : public QDialog {
    Q_OBJECT
public:
    explicit TExportCSVFrm(QWidget *parent = nullptr);
};
