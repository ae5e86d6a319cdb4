#include "env/Login.h"

TLoginFrm::TLoginFrm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("LoginFrm"));
    setWindowTitle(QStringLiteral("Login to quarvex"));
    resize(300, 150);
}
