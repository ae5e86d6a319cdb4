#include "app/AppForms.h"
#include "app/ToCrewmintMain.h"
#include "app/WidgetUi.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ToCrewmint"));
    WidgetUi ui;
    Ui::install(&ui);
    std::unique_ptr<AppForms> forms = startApplication();
    forms->ToCrewmintMainFrm->show();
    const int result = app.exec();
    forms.reset();
    Ui::install(nullptr);
    return result;
}
