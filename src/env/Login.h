#pragma once

#include <QDialog>

class TLoginFrm : public QDialog {
    Q_OBJECT
public:
    explicit TLoginFrm(QWidget *parent = nullptr);
};
