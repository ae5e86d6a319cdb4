#include "export/ExportQueries.h"

namespace {

struct Grouping {
    const char *name;
    const char *code;      // column that gives CODE
    const char *codeName;  // column that gives codeName
    const char *groupKeys; // the two grouping columns between phase description and id
    const char *joins;     // joins from the cost line to the code's table
};

// Levels 0 library, 1 category, 2 single item.
const Grouping taskGroupings[] = {
    {"qryLabLib", "L.Export", "L.Name", "L.Export, L.Name",
     "  JOIN  \"product.db\" AS P ON (P.Link_Prod = C.Link_Cost)\n"
     "  JOIN  \"prod_cat.db\" AS K ON (P.Link_cat = K.Link_cat)\n"
     "  JOIN  \"prod_lib.db\" AS L ON (K.Link_lib = L.Link_lib)"},
    {"qryLabCat", "K.Export", "K.Name", "K.Export, K.Name",
     "  JOIN  \"product.db\" AS P ON (P.Link_Prod = C.Link_Cost)\n"
     "  JOIN  \"prod_cat.db\" AS K ON (P.Link_cat = K.Link_cat)"},
    {"qryLabItem", "P.Export", "P.Desct", "P.Export, P.Desct",
     "  JOIN  \"product.db\" AS P ON (P.Link_Prod = C.Link_Cost)"},
};

const Grouping materialGroupings[] = {
    {"qryMatLib", "L.Export", "L.Name", "L.Export, L.Name",
     "  JOIN  \"material.db\" AS M ON (M.Link_Mat = C.Link_Cost)\n"
     "  JOIN  \"prod_cat.db\" AS K ON (M.Link_cat = K.Link_cat)\n"
     "  JOIN  \"prod_lib.db\" AS L ON (K.Link_lib = L.Link_lib)"},
    {"qryMatCat", "K.Export", "K.Name", "K.Export, K.Name",
     "  JOIN  \"material.db\" AS M ON (M.Link_Mat = C.Link_Cost)\n"
     "  JOIN  \"prod_cat.db\" AS K ON (M.Link_cat = K.Link_cat)"},
    {"qryMatItem", "M.SKU", "M.Desct", "M.SKU, M.Desct",
     "  JOIN  \"material.db\" AS M ON (M.Link_Mat = C.Link_Cost)"},
};

const Grouping *grouping(GroupKind kind, int level)
{
    if (level < 0 || level > 2)
        return nullptr;
    return kind == GroupKind::Tasks ? &taskGroupings[level] : &materialGroupings[level];
}

} // namespace

QStringList groupingQuery(GroupKind kind, int level)
{
    const Grouping *g = grouping(kind, level);
    if (!g)
        return {};
    const bool tasks = kind == GroupKind::Tasks;
    const QString code = QLatin1String(g->code), codeName = QLatin1String(g->codeName);
    QStringList lines;
    lines << QStringLiteral("SELECT")
          << QStringLiteral("  \"\" AS JOB, \"\" AS JOB_DESC, PH.Name AS PHASE, PH.Desct AS PHASE_DESC, ") + code +
                 QStringLiteral(" AS CODE, SUM(C.Qty) AS QTY, \"") + (tasks ? "A" : "M") +
                 QStringLiteral("\" AS TYPE, SUM(C.Cost) AS cost, ") + codeName +
                 QStringLiteral(" AS codeName, PH.Link_phs AS phaseID")
          << QStringLiteral("FROM") << QStringLiteral("  \"qvex_cst.db\" AS C");
    lines << QString::fromLatin1(g->joins).split(QLatin1Char('\n'));
    lines << QStringLiteral("  JOIN  \"qvex_prd.db\" AS T ON (T.Link_QuarvexPrd = C.Link_QuarvexPrd)")
          << QStringLiteral("  JOIN  \"phase.db\" AS PH ON (T.Link_Phs = PH.Link_Phs)") << QStringLiteral("WHERE")
          << (tasks ? QStringLiteral(" (C.GrpType = \"L\")") : QStringLiteral(" (C.GrpType = \"C\")"))
          << QStringLiteral("GROUP BY")
          << QStringLiteral(" PH.Name, PH.Desct, ") + QLatin1String(g->groupKeys) + QStringLiteral(", PH.Link_phs")
          << QStringLiteral("ORDER BY") << QStringLiteral(" PH.Name, ") + QLatin1String(g->groupKeys);
    return lines;
}

QString groupingQueryName(GroupKind kind, int level)
{
    const Grouping *g = grouping(kind, level);
    return g ? QString::fromLatin1(g->name) : QString();
}

QString groupingWord(GroupKind kind, int level)
{
    switch (level) {
    case 0: return QStringLiteral("Library");
    case 1: return QStringLiteral("Category");
    case 2: return kind == GroupKind::Tasks ? QStringLiteral("Activity") : QStringLiteral("Material");
    default: return QStringLiteral("NA");
    }
}

QString BuildPhaseFilter(const QStringList &phaseIds)
{
    QString filter;
    for (const QString &id : phaseIds) {
        if (!filter.isEmpty())
            filter += QStringLiteral(" OR ");
        filter += QStringLiteral("(PhaseID=") + id + QLatin1Char(')');
    }
    return filter;
}
