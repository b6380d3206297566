#pragma once
#include <QObject>
#include <QTimer>
#include <string>
#include <string_view>

#include "log/logtext.h"
#include "platform/followedfile.h"

class QFileSystemWatcher;

// Tells a log window when to look at the log it follows. The system's notices about the file
// and its folder (a rotation makes a new file there) are gathered into one poll a little later,
// so a writer flushing line by line costs one look per batch; a poll every second stands in for
// notices that never come (network shares). The looking itself is the core's followed file.
class TLogFollower : public QObject
{
    Q_OBJECT
public:
    // How long notices are gathered before the poll they ask for.
    static constexpr int kGatherMs = 25;
    static constexpr int kFallbackPollMs = 1000;

    explicit TLogFollower(QObject* parent);
    ~TLogFollower() override;

    // Follows the file on from known, the text of its start already shown. False, with the
    // reason in error, when it cannot be opened.
    bool Start(const std::string& path, const tarvex::LogText& known, std::string& error);
    void Stop();
    bool IsOn() const { return On; }
    // One look at the file: the change and its bytes, at most limit of them.
    tarvex::TFollowChange Poll(std::string& out, std::string& error, std::size_t limit);
    // More bytes were there than the poll took.
    bool Behind() const { return File.Behind(); }
    // Asks for a poll soon; many asks before it come to one.
    void Nudge();

signals:
    // Time to poll.
    void Due();

private:
    void Watch();

    tarvex::TFollowedFile File;
    QFileSystemWatcher* Watcher = nullptr;
    QTimer Gather;
    QTimer Fallback;
    bool On = false;
};
