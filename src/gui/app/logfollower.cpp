#include "app/logfollower.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <algorithm>

TLogFollower::TLogFollower(QObject* parent) : QObject(parent)
{
    Gather.setSingleShot(true);
    Gather.setInterval(kGatherMs);
    connect(&Gather, &QTimer::timeout, this, &TLogFollower::Due);
    Fallback.setInterval(kFallbackPollMs);
    connect(&Fallback, &QTimer::timeout, this, &TLogFollower::Nudge);
}

TLogFollower::~TLogFollower() = default;

bool TLogFollower::Start(const std::string& path, const tarvex::LogText& known, std::string& error)
{
    Stop();
    // Only the marks of the known bytes are needed: their count, first and last block.
    const std::size_t size = known.ByteCount();
    const std::size_t mark = std::min(tarvex::TFollowedFile::kBlock, size);
    if (!File.Open(path, size, known.ReadRange(0, mark), known.ReadRange(size - mark, size), error))
        return false;
    On = true;
    Watcher = new QFileSystemWatcher(this);
    connect(Watcher, &QFileSystemWatcher::fileChanged, this, &TLogFollower::Nudge);
    connect(Watcher, &QFileSystemWatcher::directoryChanged, this, &TLogFollower::Nudge);
    Watch();
    Fallback.start();
    return true;
}

void TLogFollower::Stop()
{
    On = false;
    Gather.stop();
    Fallback.stop();
    delete Watcher;
    Watcher = nullptr;
    File.Close();
}

void TLogFollower::Watch()
{
    // A file renamed away or removed leaves the watch; the one made under the name is watched
    // anew after each poll. Some systems watch nothing (no notices at all): the fallback polls.
    const QString path = QString::fromStdString(File.Path());
    if (!Watcher->files().contains(path) && QFileInfo::exists(path))
        Watcher->addPath(path);
    const QString dir = QFileInfo(path).absolutePath();
    if (!Watcher->directories().contains(dir))
        Watcher->addPath(dir);
}

tarvex::TFollowChange TLogFollower::Poll(std::string& out, std::string& error, std::size_t limit)
{
    const tarvex::TFollowChange change = File.Poll(out, error, limit);
    if (On && File.IsOpen())
        Watch();
    return change;
}

void TLogFollower::Nudge()
{
    if (On && !Gather.isActive())
        Gather.start();
}
