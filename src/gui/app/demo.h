#pragma once
#include <QString>

// The demo desktop: a scratch folder holding sample logs of every style the program analyses
// or shows, and a settings file of its own that configures them and opens the T-Mail one.
// The user's own settings are never touched. Returns the settings file, or empty on failure
// (with the reason in *error).
QString PrepareDemo(const QString& folder, QString* error = nullptr);
