#include "platform/Ui.h"

namespace {
class SilentUi : public Ui {
public:
    void inform(const QString &) override {}
    void warn(const QString &) override {}
    void error(const QString &) override {}
    Answer confirm(const QString &) override { return Answer::No; }
    int showModal(QObject *) override { return 0; }
};

SilentUi g_silent;
Ui *g_current = &g_silent;
} // namespace

Ui &Ui::current() { return *g_current; }

void Ui::install(Ui *ui) { g_current = ui ? ui : &g_silent; }
