#include "app/AppForms.h"

#include "app/ToCrewmintMain.h"
#include "env/DebugLog.h"
#include "env/Login.h"
#include "export/ExportCSVFrm.h"
#include "project/OpenProject.h"
#include "settings/About.h"
#include "settings/Preferences.h"

AppForms::AppForms()
    : ToCrewmintMainFrm(std::make_unique<TToCrewmintMainFrm>()), LoginFrm(std::make_unique<TLoginFrm>()),
      OpenProjectFrm(std::make_unique<TOpenProjectFrm>()), PreferencesFrm(std::make_unique<TPreferencesFrm>()),
      ExportCSVFrm(std::make_unique<TExportCSVFrm>()), AboutFrm(std::make_unique<TAboutFrm>())
{
}

AppForms::~AppForms()
{
    AboutFrm.reset();
    ExportCSVFrm.reset();
    PreferencesFrm.reset();
    OpenProjectFrm.reset();
    LoginFrm.reset();
    ToCrewmintMainFrm.reset();
}

std::unique_ptr<AppForms> startApplication()
{
    DebugLog(QStringLiteral(">>---ToCrewmint Loading"));
    auto forms = std::make_unique<AppForms>();
    DebugLog(QStringLiteral(">>---ToCrewmint Run"));
    return forms;
}
