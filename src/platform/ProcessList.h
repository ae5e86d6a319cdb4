#pragma once

#include <QString>

// The number of running processes whose program file name (without folder)
// equals fileName without regard to case; 0 when /proc cannot be read.
int countProcessesNamed(const QString &fileName);
