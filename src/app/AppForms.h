#pragma once

#include <memory>

class TToCrewmintMainFrm;
class TLoginFrm;
class TOpenProjectFrm;
class TPreferencesFrm;
class TExportCSVFrm;
class TAboutFrm;

// The six forms of the program, created once at start in this order and
// destroyed at exit in the reverse order.
struct AppForms {
    AppForms();
    ~AppForms();

    std::unique_ptr<TToCrewmintMainFrm> ToCrewmintMainFrm;
    std::unique_ptr<TLoginFrm> LoginFrm;
    std::unique_ptr<TOpenProjectFrm> OpenProjectFrm;
    std::unique_ptr<TPreferencesFrm> PreferencesFrm;
    std::unique_ptr<TExportCSVFrm> ExportCSVFrm;
    std::unique_ptr<TAboutFrm> AboutFrm;
};

// The main block up to the message loop: logs the loading line, creates the
// forms and logs the run line.
std::unique_ptr<AppForms> startApplication();
