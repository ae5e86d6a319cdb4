#pragma once

#include <QDialog>

class TPreferencesFrm : public QDialog {
    Q_OBJECT
public:
    explicit TPreferencesFrm(QWidget *parent = nullptr);
};
