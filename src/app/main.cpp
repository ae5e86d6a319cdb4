#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ToCrewmint"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("ToCrewmint"));
    window.resize(900, 600);
    window.show();
    return app.exec();
}
