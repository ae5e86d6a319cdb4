#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

// What "export TITLE" was asked to do; unset options take the settings' values.
struct ExportOptions {
    QString title;
    QStringList phases; // ids as given
    bool pending = false;
    std::optional<QString> job;
    std::optional<QString> inbox;
    std::optional<int> tasksBy;     // 0 library, 1 category, 2 activity
    std::optional<int> materialsBy; // 0 library, 1 category, 2 material
    std::optional<bool> tasks;
    std::optional<bool> materials;
    std::optional<int> stampMilestone; // 1..8
    bool stampReference = false;
};

// Exports the chosen phases as the window does, prints the two file paths,
// records the phases as done and the job number in the settings file, and
// stamps the line items when asked. The options given here are not stored.
int runExportCommand(const ExportOptions &options, QTextStream &out, QTextStream &err);
