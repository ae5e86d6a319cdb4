#include "export/ExportQueries.h"

#include <gtest/gtest.h>

TEST(ExportQueries, PhaseFilterJoinsIdsWithOr)
{
    EXPECT_EQ(BuildPhaseFilter({}), QString());
    EXPECT_EQ(BuildPhaseFilter({"7"}), QStringLiteral("(PhaseID=7)"));
    EXPECT_EQ(BuildPhaseFilter({"7", "9", "11"}), QStringLiteral("(PhaseID=7) OR (PhaseID=9) OR (PhaseID=11)"));
}

TEST(ExportQueries, TaskLibraryQueryIsTheStatementAsWritten)
{
    const QStringList expected = {
        "SELECT",
        "  \"\" AS JOB, \"\" AS JOB_DESC, PH.Name AS PHASE, PH.Desct AS PHASE_DESC, L.Export AS CODE, SUM(C.Qty) AS "
        "QTY, \"A\" AS TYPE, SUM(C.Cost) AS cost, L.Name AS codeName, PH.Link_phs AS phaseID",
        "FROM",
        "  \"qvex_cst.db\" AS C",
        "  JOIN  \"product.db\" AS P ON (P.Link_Prod = C.Link_Cost)",
        "  JOIN  \"prod_cat.db\" AS K ON (P.Link_cat = K.Link_cat)",
        "  JOIN  \"prod_lib.db\" AS L ON (K.Link_lib = L.Link_lib)",
        "  JOIN  \"qvex_prd.db\" AS T ON (T.Link_QuarvexPrd = C.Link_QuarvexPrd)",
        "  JOIN  \"phase.db\" AS PH ON (T.Link_Phs = PH.Link_Phs)",
        "WHERE",
        " (C.GrpType = \"L\")",
        "GROUP BY",
        " PH.Name, PH.Desct, L.Export, L.Name, PH.Link_phs",
        "ORDER BY",
        " PH.Name, L.Export, L.Name",
    };
    EXPECT_EQ(groupingQuery(GroupKind::Tasks, 0), expected);
}

TEST(ExportQueries, MaterialItemQueryUsesSkuAndCostGroupC)
{
    const QStringList q = groupingQuery(GroupKind::Materials, 2);
    ASSERT_EQ(q.size(), 13);
    EXPECT_TRUE(q[1].contains("M.SKU AS CODE")) << q[1].toStdString();
    EXPECT_TRUE(q[1].contains("\"M\" AS TYPE"));
    EXPECT_TRUE(q[1].contains("M.Desct AS codeName"));
    EXPECT_EQ(q[4], QStringLiteral("  JOIN  \"material.db\" AS M ON (M.Link_Mat = C.Link_Cost)"));
    EXPECT_EQ(q[8], QStringLiteral(" (C.GrpType = \"C\")"));
    EXPECT_EQ(q[10], QStringLiteral(" PH.Name, PH.Desct, M.SKU, M.Desct, PH.Link_phs"));
    EXPECT_EQ(q[12], QStringLiteral(" PH.Name, M.SKU, M.Desct"));
}

TEST(ExportQueries, LevelsOutsideTheRangeHaveNoQueryAndShowNA)
{
    for (int level : {-1, 3}) {
        EXPECT_TRUE(groupingQuery(GroupKind::Tasks, level).isEmpty());
        EXPECT_EQ(groupingWord(GroupKind::Materials, level), QStringLiteral("NA"));
    }
    EXPECT_EQ(groupingWord(GroupKind::Tasks, 2), QStringLiteral("Activity"));
    EXPECT_EQ(groupingWord(GroupKind::Materials, 2), QStringLiteral("Material"));
    EXPECT_EQ(groupingQueryName(GroupKind::Materials, 1), QStringLiteral("qryMatCat"));
}
