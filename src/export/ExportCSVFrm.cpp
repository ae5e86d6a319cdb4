#include "export/ExportCSVFrm.h"

TExportCSVFrm::TExportCSVFrm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ExportCSVFrm"));
    setWindowTitle(QStringLiteral("Exporting -"));
    resize(800, 600);
}
