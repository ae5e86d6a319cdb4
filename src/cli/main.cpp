#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream(stdout) << "usage: tocrewmint-cli [--data DIR] projects|phases|export|sql ...\n";
    return argc > 1 ? 1 : 0;
}
