#include "writers/FelvStat.h"

#include "writers/ExportDS.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

// A sheet of paper flying from one folder to another, in a loop of 34 frames.
class FileAnimation : public QWidget {
public:
    explicit FileAnimation(QWidget *parent) : QWidget(parent) {
        m_timer.setInterval(50);
        connect(&m_timer, &QTimer::timeout, this, &FileAnimation::advance);
    }

    void start() {
        m_frame = 0;
        m_timer.start();
    }
    void stop() { m_timer.stop(); }
    bool isRunning() const { return m_timer.isActive(); }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const int folderWidth = 48;
        const int top = height() - 30;
        const QRectF from(40, top, folderWidth, 26);
        const QRectF to(width() - 40 - folderWidth, top, folderWidth, 26);
        painter.setPen(palette().color(QPalette::Dark));
        painter.setBrush(QColor(230, 190, 80));
        painter.drawRect(from);
        painter.drawRect(to);

        // The sheet follows a flat arc from the first folder to the second.
        const double t = double(m_frame) / (Frames - 1);
        const double x = from.center().x() + t * (to.center().x() - from.center().x()) - 8;
        const double y = top - 6 - 20 * 4 * t * (1 - t) * 1.5 + 10;
        painter.setBrush(palette().color(QPalette::Base));
        painter.drawRect(QRectF(x, y - 14, 16, 20));
    }

private:
    static constexpr int Frames = 34;

    void advance() {
        m_frame = (m_frame + 1) % Frames;
        update();
    }

    QTimer m_timer;
    int m_frame = 0;
};

TfrmFelvProcess::TfrmFelvProcess(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmFelvProcess"));
    setFixedSize(442, 87);
    setWindowModality(Qt::ApplicationModal);

    auto *bevel = new QFrame(this);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bevel->setGeometry(rect());

    Animate = new FileAnimation(this);
    Animate->setGeometry(8, 4, 427, 45);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setGeometry(8, 56, 339, 13);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setGeometry(10, 70, 337, 10);
    ProgressBar->setTextVisible(false);
    btnCancel = new QPushButton(TFelvCustomBaseComponent::Message(12), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(355, 55, 75, 25);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmFelvProcess::btnCancelClick);
}

void TfrmFelvProcess::begin(const QString &caption, const QString &status, int maximum) {
    m_cancelled = false;
    setWindowTitle(caption);
    lblStatus->setText(status);
    ProgressBar->setRange(0, maximum);
    ProgressBar->setValue(0);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    Animate->start();
}

void TfrmFelvProcess::step(int position, const QString &status) {
    lblStatus->setText(status);
    ProgressBar->setValue(position);
    // This is where a press of Cancel takes effect.
    QCoreApplication::processEvents();
}

void TfrmFelvProcess::end(const QString &closingText) {
    lblStatus->setText(closingText);
    Animate->stop();
    hide();
}

// Escape and closing the window cancel the run; the run itself closes the window.
void TfrmFelvProcess::reject() {
    m_cancelled = true;
}

void TfrmFelvProcess::btnCancelClick() {
    m_cancelled = true;
}
