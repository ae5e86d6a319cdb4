#pragma once

#include <QFrame>
#include <QPixmap>

class QLabel;

// The white panel shown while no project is open: logo, title, notice and version, centred.
class TSplashPanel : public QFrame {
    Q_OBJECT
public:
    explicit TSplashPanel(QWidget *parent = nullptr);

    QPixmap myLogo() const { return m_logo; }
    void setMyLogo(const QPixmap &logo);
    QString myTitle() const;
    void setMyTitle(const QString &text);
    QString myCopyright() const;
    void setMyCopyright(const QString &text);
    QString myVersion() const;
    void setMyVersion(const QString &text);

    QLabel *image() const { return m_image; }
    QLabel *titleLabel() const { return m_title; }
    QLabel *noticeLabel() const { return m_notice; }
    QLabel *versionLabel() const { return m_version; }

    // Centres the logo and stacks the three labels under it.
    void layoutPass();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    static void setLabelText(QLabel *label, const QString &text);

    QPixmap m_logo;
    QLabel *m_image = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_notice = nullptr;
    QLabel *m_version = nullptr;
};
