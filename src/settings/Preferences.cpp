#include "settings/Preferences.h"

TPreferencesFrm::TPreferencesFrm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PreferencesFrm"));
    setWindowTitle(QStringLiteral("Edit ToCrewmint Preferences"));
    resize(592, 366);
}
