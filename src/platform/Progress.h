#pragma once

#include <QString>

// Progress and cancel for long core work. The GUI shows a window, the command
// line a line on standard error, the tests count calls. Core code never
// processes window events itself; an implementation may.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void begin(const QString &caption, const QString &status, int maximum) = 0;
    virtual void step(int position, const QString &status) = 0;
    virtual bool cancelled() const = 0;
    virtual void end(const QString &closingText) = 0;
};

// Reports nothing and is never cancelled.
class NullProgress : public Progress {
public:
    void begin(const QString &, const QString &, int) override {}
    void step(int, const QString &) override {}
    bool cancelled() const override { return false; }
    void end(const QString &) override {}
};
