#include "DemoData.h"

#include "fixtures/QuarvexFixture.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

struct Phase {
    int id;
    const char *name;
    const char *desct;
};

struct Product {
    int id, category, uom;
    const char *desct, *exportCode, *type;
    double rate; // per labour hour
};

struct Material {
    int id, category;
    const char *sku, *desct;
    double price; // per unit
};

// The trade library every demo project except HILL shares: two labour and two material
// libraries. The equipment product is not a labour task and stays out of labour previews.
const Product products[] = {
    {1001, 11, 1, "Set out and fence site", "SETOUT", "L0", 68},
    {1002, 11, 4, "Excavate trench", "EXC", "L0", 72},
    {1003, 12, 4, "Place and finish concrete", "CONC-PL", "L0", 75},
    {1004, 21, 1, "Erect wall frames", "FRAME", "L0", 70},
    {1005, 21, 2, "Fix roof trusses", "TRUSS", "L1", 70},
    {1006, 21, 2, "Hang doors", "DOOR", "L1", 66},
    {1007, 22, 2, "Electrical rough-in", "ELEC-RI", "L0", 88},
    {1008, 23, 2, "Plumbing rough-in", "PLMB-RI", "L0", 92},
    {1009, 21, 3, "Fix plasterboard", "PLB", "L0", 64},
};
const int labourProductCount = int(std::size(products));
const Product equipment = {1900, 11, 2, "Scaffold hire", "SCAF", "E0", 0};

const Material materials[] = {
    {5001, 31, "TIM-9045", "Pine stud 90x45", 9.8},   {5002, 31, "TRUSS-STD", "Roof truss", 185},
    {5003, 32, "CONC-25", "Concrete 25 MPa", 245},    {5004, 32, "REO-SL82", "Mesh SL82", 98.5},
    {5005, 41, "PNT-LOWS", "Low sheen acrylic", 24.9}, {5006, 42, "TILE-300", "Floor tile 300x300", 3.75},
    {5007, 31, "PLB-10", "Plasterboard 10mm", 16.4},   {5008, 31, "NAIL-75", "Framing nails 75mm", 0.05},
};
const int materialCount = int(std::size(materials));

void addTradeLibrary(QuarvexFixture &f)
{
    f.uom(1, "hr").uom(2, "ea").uom(3, "m2").uom(4, "m3").uom(5, "lm");
    f.library(1, "General Labour", "GL", 1).library(2, "Trades", "TR", 1);
    f.library(3, "Building Materials", "BM", 6).library(4, "Finishes Materials", "FM", 6);
    f.category(11, 1, "Site works", "SITE").category(12, 1, "Concrete", "CONC");
    f.category(21, 2, "Carpentry", "CARP").category(22, 2, "Electrical", "ELEC").category(23, 2, "Plumbing", "PLMB");
    f.category(31, 3, "Timber and board", "TIM").category(32, 3, "Concrete supplies", "CONS");
    f.category(41, 4, "Paint", "PNT").category(42, 4, "Tiles", "TILE");
    for (const Product &p : products)
        f.product(p.id, p.category, p.uom, p.desct, p.exportCode, p.type);
    f.product(equipment.id, equipment.category, equipment.uom, equipment.desct, equipment.exportCode, equipment.type);
    for (const Material &m : materials)
        f.material(m.id, m.category, m.sku, m.desct);
}

double cents(double value)
{
    return std::round(value * 100) / 100;
}

// Line item i of an estimate: a labour task with its own and a supporting trade's hours,
// and two materials.
void addLineItem(QuarvexFixture &f, int i, int phase, int location)
{
    const int id = i + 1;
    const Product &task = products[i % labourProductCount];
    const Product &support = products[(i + 4) % labourProductCount];
    const double qty = ((i * 37) % 80 + 2) / 2.0;
    const double hours = cents(qty * 0.25 * (1 + i % 4));
    const double supportHours = cents(hours * 0.2);
    f.lineItem(id, phase, location, task.id, qty, hours, supportHours);

    const Material &first = materials[i % materialCount];
    const Material &second = materials[(i + 3) % materialCount];
    const double firstQty = cents(qty * 1.1);
    const double secondQty = cents(qty * 0.5 + 1);
    const int costId = 4 * i + 1;
    f.costLine(costId, id, task.id, "L", hours, cents(hours * task.rate));
    f.costLine(costId + 1, id, support.id, "L", supportHours, cents(supportHours * support.rate));
    f.costLine(costId + 2, id, first.id, "C", firstQty, cents(firstQty * first.price));
    f.costLine(costId + 3, id, second.id, "C", secondQty, cents(secondQty * second.price));
}

struct Estimate {
    QString longName, shortName;
    QDateTime modified;
    QVector<Phase> phases;
    QStringList locations;
    int lineItems;
};

// Phases take consecutive blocks of the line items; locations take turns.
DemoProject addEstimate(QuarvexFixture &f, const Estimate &e)
{
    f.project(e.longName, e.shortName, e.modified);
    for (const Phase &p : e.phases)
        f.phase(p.id, p.name, p.desct);
    for (int l = 0; l < e.locations.size(); ++l)
        f.location(l + 1, e.locations[l]);
    addTradeLibrary(f);
    for (int i = 0; i < e.lineItems; ++i) {
        const qint64 block = qint64(i) * e.phases.size() / e.lineItems;
        addLineItem(f, i, e.phases[int(block)].id, i % e.locations.size() + 1);
    }
    return {e.shortName, e.longName, e.lineItems, 4 * e.lineItems};
}

QStringList numbered(const QString &prefix, int count)
{
    QStringList names;
    for (int n = 1; n <= count; ++n)
        names << prefix.arg(n);
    return names;
}

QDateTime stamp(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

void addUsers(QuarvexFixture &f)
{
    f.user("ESTIMATOR", "Erin Walsh", "Senior Estimator", "0400 100 200", "erin.walsh@example.com");
    f.user("SITE1", "Zoë Fernández", "Site Manager", "0400 300 400", "zoe.fernandez@example.com");
    f.user("ADMIN", "Administrator");
}

DemoProject addHill(QuarvexFixture &f)
{
    f.standardProject();
    return {"HILL", "Hill Street Offices", 4, 8};
}

DemoProject addSchool(QuarvexFixture &f)
{
    return addEstimate(f, {"Riverside Primary School",
                           "RIVERSIDE",
                           stamp(2024, 3, 4, 16, 5),
                           {{1, "Site works", "Fencing, sheds and set-out"},
                            {2, "Footings", "Strip footings and slab"},
                            {3, "Frame", "Wall frames, trusses and bracing"},
                            {4, "Services", "Electrical and plumbing rough-in"},
                            {5, "Linings", "Plasterboard and cornice"},
                            {6, "Fit-off", "Doors, hardware and fixtures"}},
                           {"Block A", "Block B", "Hall", "Amenities"},
                           30});
}

DemoProject addTownhouses(QuarvexFixture &f)
{
    return addEstimate(f, {"Maple Court Townhouses",
                           "MAPLE",
                           stamp(2024, 5, 20, 8, 45),
                           {{101, "Slab", "Slab on ground"},
                            {102, "Frame", "Frames and trusses"},
                            {103, "Roof", "Roof cover and gutters"},
                            {104, "Lock-up", "Windows and external doors"},
                            {105, "Fixing", "Internal doors and trim"}},
                           numbered("Unit %1", 6),
                           48});
}

// The library project quarvex keeps beside the estimates; the catalogue query hides it.
DemoProject addReservedLibrary(QuarvexFixture &f)
{
    f.project("Master Library", "MASTERLIB", stamp(2023, 11, 2, 9, 0), 1);
    addTradeLibrary(f);
    return {"MASTERLIB", "Master Library", 0, 0, true};
}

} // namespace

DemoProject addScaledProject(QuarvexFixture &f, int scale)
{
    return addEstimate(f, {"Harbour Tower",
                           "TOWER",
                           stamp(2024, 6, 3, 7, 30),
                           {{1, "Establishment", "Site sheds, hoarding and cranes"},
                            {2, "Piling", "Bored piles and caps"},
                            {3, "Basement", "Walls, slab and waterproofing"},
                            {4, "Structure", "Columns, slabs and cores"},
                            {5, "Facade", "Curtain wall, glazing and sealants"},
                            {6, "Roof", "Plant deck and membrane"},
                            {7, "Services", "Electrical, plumbing and fire, rough-in"},
                            {8, "Linings", "Partitions and ceilings"},
                            {9, "Fit-out", "Joinery, doors and finishes"},
                            {10, "Handover", "Cleaning, defects and commissioning"}},
                           numbered("Level %1", std::max(1, scale / 20)),
                           scale});
}

QVector<DemoProject> addDemoData(QuarvexFixture &f, int scale)
{
    addUsers(f);
    QVector<DemoProject> projects = {addHill(f), addSchool(f), addReservedLibrary(f), addTownhouses(f)};
    if (scale > 0)
        projects << addScaledProject(f, scale);
    return projects;
}
