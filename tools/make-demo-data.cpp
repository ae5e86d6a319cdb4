// make-demo-data DIR [--scale N]: writes the demo quarvex data folder into DIR, for make run,
// the benchmarks and manual checks. Existing tables of the same names are replaced.

#include "DemoData.h"

#include "db/DbError.h"
#include "fixtures/QuarvexFixture.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

constexpr int maxScale = 1000000;

const char usage[] = "usage: make-demo-data DIR [--scale N]\n"
                     "  writes a quarvex data folder (System and Projects) into DIR;\n"
                     "  --scale N adds the project TOWER with N line items and 4N cost lines (N from 1 to 1000000)\n";

struct Arguments {
    QString folder;
    int scale = 0;
    bool help = false;
    QString error; // empty when the arguments are good
};

int parseScale(const QString &text)
{
    bool ok = false;
    const int scale = text.toInt(&ok);
    return ok && scale >= 1 && scale <= maxScale ? scale : 0;
}

Arguments parseArguments(const QStringList &args)
{
    Arguments parsed;
    for (int i = 0; i < args.size() && parsed.error.isEmpty(); ++i) {
        const QString &arg = args[i];
        if (arg == "-h" || arg == "--help") {
            parsed.help = true;
        } else if (arg == "--scale") {
            const QString value = i + 1 < args.size() ? args[++i] : QString();
            parsed.scale = parseScale(value);
            if (parsed.scale == 0)
                parsed.error = QString("--scale needs a whole number from 1 to %1").arg(maxScale) +
                               (value.isEmpty() ? QString() : QString(", not \"%1\"").arg(value));
        } else if (arg.startsWith('-')) {
            parsed.error = QString("unknown option \"%1\"").arg(arg);
        } else if (parsed.folder.isEmpty()) {
            parsed.folder = arg;
        } else {
            parsed.error = QString("one data folder only, not also \"%1\"").arg(arg);
        }
    }
    if (parsed.error.isEmpty() && parsed.folder.isEmpty() && !parsed.help)
        parsed.error = "no data folder given";
    return parsed;
}

void printSummary(QTextStream &out, const QString &folder, const QVector<DemoProject> &projects)
{
    out << "Demo data written to " << QFileInfo(folder).absoluteFilePath() << "\n";
    for (const DemoProject &p : projects) {
        out << "  " << p.shortName << "\t" << p.longName << "\t" << p.lineItems << " line items, " << p.costLines
            << " cost lines" << (p.reserved ? " (reserved library, hidden)" : "") << "\n";
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const Arguments parsed = parseArguments(args);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!parsed.error.isEmpty()) {
        err << "make-demo-data: " << parsed.error << "\n" << usage;
        return 2;
    }
    if (parsed.help) {
        out << usage;
        return 0;
    }
    try {
        QuarvexFixture fixture(parsed.folder);
        const QVector<DemoProject> projects = addDemoData(fixture, parsed.scale);
        fixture.write();
        printSummary(out, parsed.folder, projects);
    } catch (const db::DbError &e) {
        err << "make-demo-data: " << e.message() << "\n";
        return 1;
    }
    return 0;
}
