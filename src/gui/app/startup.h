#pragma once
#include <QString>
#include <functional>

class TFrameForm;

// Options of ours that QApplication would take for its own: "--style" (and "-style") names a
// widget style to Qt, a log style to us. They are taken out of argv before QApplication sees it.
struct TOwnOptions
{
    bool StyleGiven = false;
    QString Style;
};

// Removes our options from argv (argc shrinks to match). False, with the reason in error, when
// one of them lacks its value or names no log style.
bool TakeOwnOptions(int& argc, char** argv, TOwnOptions& own, QString& error);

// The whole program from its command line: options, settings, the main window and the event
// loop. started, when given, is called once the main window is shown and the log named on the
// command line is on its way (tests drive the real start with it). Returns the exit status.
int RunTarvex(int argc, char** argv, const std::function<void(TFrameForm&)>& started = {});
