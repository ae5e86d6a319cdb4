#pragma once

#include <QDialog>

class TOpenProjectFrm : public QDialog {
    Q_OBJECT
public:
    explicit TOpenProjectFrm(QWidget *parent = nullptr);
};
