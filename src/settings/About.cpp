#include "settings/About.h"

TAboutFrm::TAboutFrm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutFrm"));
    setWindowTitle(QStringLiteral("About"));
    resize(592, 426);
}
