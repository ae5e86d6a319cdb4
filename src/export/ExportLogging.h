#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

// Stamps the line items of one exported phase in the open project's
// QVEX_PRD.db: milestone M<MILEINDEX+1> set to 1, the reference field set to
// "Crewmint: " and the date, or both, as INCMILELOG and INCREFLOG ask.
// Every record is rewritten in place; rows stamped before a failure keep
// their stamps.
struct LoggingView {
    std::function<void(const QString &)> showStatus;             // status panel 0
    std::function<void(int position, int maximum)> showProgress; // the status bar's progress bar
};

// False when the table could not be opened or a row could not be stamped (after the message).
bool DoLogging(unsigned phaseId, const LoggingView &view = {});

// "M" and the index plus one, cut to two characters: 0 gives "M1", 9 gives "M1".
QString milestoneColumnName(int mileIndex);

QString referenceStamp(const QDateTime &when);
