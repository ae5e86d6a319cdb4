#pragma once

#include "platform/Progress.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class FileAnimation;

// The progress window of a writer run: caption, animation, status, progress bar
// and Cancel (also Escape or closing the window). Shown over the other windows,
// which are disabled while it is up; it lets pending events run at each step.
class TfrmFelvProcess : public QDialog, public Progress {
    Q_OBJECT

public:
    explicit TfrmFelvProcess(QWidget *parent = nullptr);

    void begin(const QString &caption, const QString &status, int maximum) override;
    void step(int position, const QString &status) override;
    bool cancelled() const override { return m_cancelled; }
    void end(const QString &closingText) override;

    void reject() override;

    FileAnimation *Animate;
    QLabel *lblStatus;
    QProgressBar *ProgressBar;
    QPushButton *btnCancel;

private:
    void btnCancelClick();

    bool m_cancelled = false;
};
