#pragma once
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

// The demo desktop: a scratch folder holding sample logs of every style the program analyses
// or shows, and a settings file of its own that configures them and opens the T-Mail one.
// The user's own settings are never touched. Returns the settings file, or empty on failure
// (with the reason in *error).
QString PrepareDemo(const QString& folder, QString* error = nullptr);

// The demo's "Live station": a T-Mail station whose log grows while the demo runs, so that a
// window following it shows sessions as they arrive. The log PrepareDemo writes holds the
// station's last two days; the writer appends one event every second or two, stamped with the
// clock: a failed dial, or a whole session (connect, address, sysop, system, perhaps a file
// request, mail both ways, traffic), each flushed at once as a mailer does.
class TDemoLiveWriter : public QObject
{
public:
    // Writes to the live log of the demo prepared in folder; appends nothing until started.
    TDemoLiveWriter(const QString& folder, QObject* parent);
    ~TDemoLiveWriter() override;
    void Start();
    // Appends one event now; false when the log could not be written.
    bool WriteEvent();

private:
    struct TState;
    std::unique_ptr<TState> S;
    QTimer Timer;
};

// The live station's log in the demo prepared in folder.
QString DemoLiveLog(const QString& folder);
