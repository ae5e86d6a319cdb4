#include "app/Splash.h"

#include "support/GuiApp.h"

#include <QLabel>

#include <gtest/gtest.h>

TEST(Splash, ConstructionPlacesTheDefaultTexts)
{
    guiApp();
    TSplashPanel panel;
    EXPECT_EQ(panel.size(), QSize(200, 200));
    EXPECT_EQ(panel.myTitle(), QStringLiteral("Title"));
    EXPECT_EQ(panel.myCopyright(), QStringLiteral("Copyright"));
    EXPECT_EQ(panel.myVersion(), QStringLiteral("Version"));
    EXPECT_EQ(panel.titleLabel()->font().family(), QStringLiteral("Verdana"));
    EXPECT_EQ(panel.titleLabel()->font().pointSize(), 17);
    // 64 x 64 logo centred in 200 x 200.
    EXPECT_EQ(panel.image()->geometry(), QRect(68, 68, 64, 64));
}

TEST(Splash, LayoutPassCentresLogoAndStacksLabels)
{
    guiApp();
    TSplashPanel panel;
    QPixmap logo(500, 210);
    logo.fill(Qt::red);
    panel.resize(601, 401);
    panel.setMyTitle(QStringLiteral("quarvex link with Crewmint"));
    panel.setMyLogo(logo);

    const QRect image = panel.image()->geometry();
    EXPECT_EQ(image, QRect((601 - 500) / 2, (401 - 210) / 2, 500, 210));
    const QLabel *title = panel.titleLabel();
    EXPECT_EQ(title->y(), image.y() + 210);
    EXPECT_EQ(title->x(), (601 - title->width()) / 2);
    const QLabel *notice = panel.noticeLabel();
    EXPECT_EQ(notice->y(), title->y() + title->height() + 4);
    EXPECT_EQ(notice->x(), (601 - notice->width()) / 2);
    EXPECT_EQ(panel.versionLabel()->y(), notice->y() + 20);
    EXPECT_EQ(panel.versionLabel()->x(), notice->x());

    // A panel smaller than the logo clips the image to the panel.
    panel.show();
    panel.resize(300, 100);
    QApplication::processEvents();
    EXPECT_EQ(panel.image()->geometry(), QRect(0, 0, 300, 100));
}
