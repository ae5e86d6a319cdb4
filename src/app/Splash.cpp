#include "app/Splash.h"

#include <QLabel>

#include <algorithm>

TSplashPanel::TSplashPanel(QWidget *parent) : QFrame(parent), m_logo(64, 64)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    resize(200, 200);
    m_logo.fill(Qt::white);

    m_image = new QLabel(this);
    m_image->setGeometry(16, 16, 64, 64);
    m_image->setScaledContents(false);
    m_title = new QLabel(this);
    m_title->setFont(QFont(QStringLiteral("Verdana"), 17));
    m_title->move(16, 80);
    setLabelText(m_title, QStringLiteral("Title"));
    m_notice = new QLabel(this);
    m_notice->move(16, 96);
    setLabelText(m_notice, QStringLiteral("Copyright"));
    m_version = new QLabel(this);
    m_version->move(16, 112);
    setLabelText(m_version, QStringLiteral("Version"));
    layoutPass();
}

void TSplashPanel::setLabelText(QLabel *label, const QString &text)
{
    label->setText(text);
    label->adjustSize(); // labels size themselves to their text
}

void TSplashPanel::setMyLogo(const QPixmap &logo)
{
    m_logo = logo;
    m_image->setPixmap(m_logo);
    update();
    layoutPass();
}

QString TSplashPanel::myTitle() const { return m_title->text(); }
void TSplashPanel::setMyTitle(const QString &text) { setLabelText(m_title, text); }
QString TSplashPanel::myCopyright() const { return m_notice->text(); }
void TSplashPanel::setMyCopyright(const QString &text) { setLabelText(m_notice, text); }
QString TSplashPanel::myVersion() const { return m_version->text(); }
void TSplashPanel::setMyVersion(const QString &text) { setLabelText(m_version, text); }

void TSplashPanel::layoutPass()
{
    if (!m_image || !m_title || !m_notice || !m_version)
        return;
    const int w = width(), h = height();
    const int imageWidth = std::min(w, m_logo.width());
    const int imageHeight = std::min(h, m_logo.height());
    // Integer division truncates toward zero, as the layout asks.
    m_image->setGeometry((w - imageWidth) / 2, (h - imageHeight) / 2, imageWidth, imageHeight);
    const int titleTop = m_image->y() + imageHeight;
    m_title->move((w - m_title->width()) / 2, titleTop);
    const int noticeTop = titleTop + m_title->height() + 4;
    const int noticeLeft = (w - m_notice->width()) / 2;
    m_notice->move(noticeLeft, noticeTop);
    m_version->move(noticeLeft, noticeTop + 20);
    m_image->update();
}

void TSplashPanel::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    layoutPass();
}
