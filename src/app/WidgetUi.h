#pragma once

#include "platform/Ui.h"

// The window implementation of the Ui seam: message boxes and exec().
class WidgetUi : public Ui {
public:
    void inform(const QString &text) override;
    void warn(const QString &text) override;
    void error(const QString &text) override;
    Answer confirm(const QString &text) override;
    int showModal(QObject *dialog) override;
};
