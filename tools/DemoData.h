#pragma once

#include <QString>
#include <QVector>

class QuarvexFixture;

// The demo quarvex data folder: a catalogue with one hidden reserved-library row, a users
// table and three projects. "Hill Street Offices" (HILL) is the tests' standard project, with
// its rough edges: a library without an export code, a phase description with a comma,
// "Démolition", a phase without line items and blank quantities. The other two are clean.

// What one project of the demo holds, for the tool's summary.
struct DemoProject {
    QString shortName;
    QString longName;
    int lineItems = 0;
    int costLines = 0;
    bool reserved = false; // hidden from the catalogue query
};

// Adds the demo's catalogue, users and projects to the fixture; with scale > 0 also
// "Harbour Tower" (TOWER) with scale line items and four cost lines on each.
QVector<DemoProject> addDemoData(QuarvexFixture &fixture, int scale = 0);

// The scaled project alone: scale line items with four cost lines each, spread over
// ten phases and a location per twenty line items.
DemoProject addScaledProject(QuarvexFixture &fixture, int scale);
