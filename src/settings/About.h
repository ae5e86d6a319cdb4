#pragma once

#include <QDialog>

class TAboutFrm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutFrm(QWidget *parent = nullptr);
};
