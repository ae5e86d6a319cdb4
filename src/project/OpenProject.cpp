#include "project/OpenProject.h"

TOpenProjectFrm::TOpenProjectFrm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OpenProjectFrm"));
    setWindowTitle(QStringLiteral("Select Project to Open"));
    resize(600, 600);
}
