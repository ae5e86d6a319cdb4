#include "cli/CliProject.h"
#include "cli/CliUi.h"
#include "cli/ExportCommand.h"
#include "cli/ListCommands.h"
#include "cli/SqlCommand.h"
#include "env/DebugLog.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

const char *const Usage = R"(usage: tocrewmint-cli [--data DIR] COMMAND ...
  projects                      catalogue: title, folder, last modified (tab-separated)
  phases TITLE                  id, name, description, line count, done (yes/no)
  export TITLE [options]        export phases into the inbox
      --phase ID                a phase id to export (repeatable)
      --pending                 every phase of the project not yet done
      --job TEXT                job number (default: the project's stored job number, else its short name)
      --inbox DIR               output folder (default: the Inbox setting)
      --tasks-by library|category|activity
      --materials-by library|category|material
      --tasks | --no-tasks      --materials | --no-materials   (defaults: the settings)
      --stamp-milestone N       stamp milestone field M<N> (1-8) of the exported line items
      --stamp-reference         stamp their reference field
  sql FOLDER STATEMENT [--filter EXPR]   one local SQL statement, rows as CSV with a title row
global: --data DIR              the quarvex data folder, instead of the registry's
exit status: 0 done, 1 usage, 2 project or phase not found, 3 failed
)";

struct UsageError {
    QString text;
};

const QStringList exportOptionNames = {"phase", "pending", "job", "inbox", "tasks-by", "materials-by",
                                        "tasks", "no-tasks", "materials", "no-materials", "stamp-milestone",
                                        "stamp-reference"};

void addOptions(QCommandLineParser &parser)
{
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.addOptions({{"data", "quarvex data folder", "DIR"},
                       {"filter", "client filter of sql", "EXPR"},
                       {"phase", "phase id", "ID"},
                       {"pending", "pending phases"},
                       {"job", "job number", "TEXT"},
                       {"inbox", "output folder", "DIR"},
                       {"tasks-by", "task grouping", "LEVEL"},
                       {"materials-by", "material grouping", "LEVEL"},
                       {"tasks", "include tasks"},
                       {"no-tasks", "leave tasks out"},
                       {"materials", "include materials"},
                       {"no-materials", "leave materials out"},
                       {"stamp-milestone", "milestone to stamp", "N"},
                       {"stamp-reference", "stamp the reference"},
                       {{"h", "help"}, "usage"}});
}

int groupingLevel(const QCommandLineParser &parser, const QString &option, const QString &singleItemWord)
{
    const QStringList words = {"library", "category", singleItemWord};
    const int level = int(words.indexOf(parser.value(option).toLower()));
    if (level < 0)
        throw UsageError{QStringLiteral("--%1 takes %2, not \"%3\"").arg(option, words.join('|'), parser.value(option))};
    return level;
}

std::optional<bool> switchPair(const QCommandLineParser &parser, const QString &on, const QString &off)
{
    if (parser.isSet(on) && parser.isSet(off))
        throw UsageError{QStringLiteral("--%1 and --%2 exclude each other").arg(on, off)};
    if (parser.isSet(on) || parser.isSet(off))
        return parser.isSet(on);
    return std::nullopt;
}

ExportOptions exportOptions(const QCommandLineParser &parser, const QString &title)
{
    ExportOptions options;
    options.title = title;
    options.phases = parser.values("phase");
    options.pending = parser.isSet("pending");
    if (options.phases.isEmpty() && !options.pending)
        throw UsageError{QStringLiteral("export needs --phase ID or --pending")};
    for (const QString &id : options.phases) {
        bool ok = false;
        if (id.toUInt(&ok) == 0 || !ok)
            throw UsageError{QStringLiteral("--phase takes a phase id, not \"%1\"").arg(id)};
    }
    if (parser.isSet("job"))
        options.job = parser.value("job");
    if (parser.isSet("inbox"))
        options.inbox = parser.value("inbox");
    if (parser.isSet("tasks-by"))
        options.tasksBy = groupingLevel(parser, "tasks-by", "activity");
    if (parser.isSet("materials-by"))
        options.materialsBy = groupingLevel(parser, "materials-by", "material");
    options.tasks = switchPair(parser, "tasks", "no-tasks");
    options.materials = switchPair(parser, "materials", "no-materials");
    if (parser.isSet("stamp-milestone")) {
        const int milestone = parser.value("stamp-milestone").toInt();
        if (milestone < 1 || milestone > 8)
            throw UsageError{QStringLiteral("--stamp-milestone takes 1 to 8, not \"%1\"")
                                 .arg(parser.value("stamp-milestone"))};
        options.stampMilestone = milestone;
    }
    options.stampReference = parser.isSet("stamp-reference");
    return options;
}

void requireArguments(const QStringList &args, int count, const QString &form)
{
    if (args.size() != count)
        throw UsageError{QStringLiteral("usage: tocrewmint-cli ") + form};
}

void refuseOptionsOf(const QCommandLineParser &parser, const QString &command, const QStringList &names)
{
    for (const QString &name : names)
        if (parser.isSet(name))
            throw UsageError{QStringLiteral("%1 does not take --%2").arg(command, name)};
}

int runCommand(const QCommandLineParser &parser, QTextStream &out, QTextStream &err)
{
    const QStringList args = parser.positionalArguments();
    const QString command = args.value(0);
    if (command == QLatin1String("sql")) {
        requireArguments(args, 3, QStringLiteral("sql FOLDER STATEMENT [--filter EXPR]"));
        refuseOptionsOf(parser, command, exportOptionNames);
        return runSqlCommand(args.at(1), args.at(2), parser.value("filter"), out, err);
    }
    refuseOptionsOf(parser, command, {QStringLiteral("filter")});
    if (command != QLatin1String("export"))
        refuseOptionsOf(parser, command, exportOptionNames);
    if (command == QLatin1String("projects")) {
        requireArguments(args, 1, QStringLiteral("projects"));
        startCliSettings(parser.value("data"));
        return runProjectsCommand(out, err);
    }
    if (command == QLatin1String("phases")) {
        requireArguments(args, 2, QStringLiteral("phases TITLE"));
        startCliSettings(parser.value("data"));
        return runPhasesCommand(args.at(1), out, err);
    }
    if (command == QLatin1String("export")) {
        requireArguments(args, 2, QStringLiteral("export TITLE [options]"));
        const ExportOptions options = exportOptions(parser, args.at(1));
        startCliSettings(parser.value("data"));
        return runExportCommand(options, out, err);
    }
    throw UsageError{command.isEmpty() ? QStringLiteral("no command given")
                                       : QStringLiteral("unknown command \"%1\"").arg(command)};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    CliUi ui(err);
    Ui::install(&ui);
    QCommandLineParser parser;
    addOptions(parser);
    int result = ExitUsage;
    if (!parser.parse(app.arguments())) {
        err << parser.errorText() << "\n" << Usage;
    } else if (parser.isSet("help")) {
        out << Usage;
        result = ExitOk;
    } else {
        DebugLog(QStringLiteral(">>---tocrewmint-cli ") + app.arguments().mid(1).join(QLatin1Char(' ')));
        try {
            result = runCommand(parser, out, err);
        } catch (const UsageError &e) {
            err << e.text << "\n" << Usage;
        }
        DebugLog(QStringLiteral("----<<tocrewmint-cli exit %1").arg(result));
    }
    out.flush();
    err.flush();
    Ui::install(nullptr);
    return result;
}
