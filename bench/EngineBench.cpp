// Reading and querying the tables of a large estimate: 100,000 line items with 400,000 cost
// lines, written once per run into a temporary data folder.

#include "DemoData.h"

#include "db/ParadoxFile.h"
#include "db/Query.h"
#include "db/Session.h"
#include "export/ExportQueries.h"
#include "fixtures/QuarvexFixture.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int lineItems = 100000;

// The folder of the scaled project, written on first use.
const QString &towerFolder()
{
    static QuarvexFixture fixture;
    static const QString folder = [] {
        addScaledProject(fixture, lineItems);
        fixture.write();
        return fixture.projectPath(QStringLiteral("TOWER"));
    }();
    return folder;
}

void ReadCostLines(benchmark::State &state)
{
    const QString path = towerFolder() + QStringLiteral("/") + QuarvexFixture::costLineFile;
    for (auto _ : state) {
        const db::TableData table = db::readParadoxTable(path);
        benchmark::DoNotOptimize(table.records.size());
    }
    state.SetItemsProcessed(state.iterations() * 4 * lineItems);
}

// One grouping query of the export on a phase; loadTables: read the tables into SQL on every
// run, as on the first export after a change, rather than reuse them.
void GroupTasks(benchmark::State &state, bool loadTables)
{
    db::Query query;
    query.setDatabaseName(towerFolder());
    query.setSql(groupingQuery(GroupKind::Tasks, 2));
    query.setFiltered(true);
    query.setFilter(BuildPhaseFilter({QStringLiteral("4")}));
    for (auto _ : state) {
        if (loadTables)
            db::Session::defaultSession().dropConnections();
        query.close();
        query.open();
        benchmark::DoNotOptimize(query.recordCount());
    }
}

void GroupTasksLoadingTables(benchmark::State &state)
{
    GroupTasks(state, true);
}

void GroupTasksOnLoadedTables(benchmark::State &state)
{
    GroupTasks(state, false);
}

} // namespace

BENCHMARK(ReadCostLines)->Unit(benchmark::kMillisecond);
BENCHMARK(GroupTasksLoadingTables)->Unit(benchmark::kMillisecond);
BENCHMARK(GroupTasksOnLoadedTables)->Unit(benchmark::kMillisecond);
