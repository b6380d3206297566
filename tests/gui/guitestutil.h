#pragma once
// Helpers shared by the GUI tests: a user interface that records messages instead of showing
// them, settings files in a scratch folder, and byte-exact file access.
#include <QApplication>
#include <QFile>
#include <QTimer>
#include <functional>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "app/frameform.h"
#include "app/qtsettingsstore.h"
#include "app/qtuserinterface.h"
#include "common/guienv.h"

class TRecordingUi : public TQtUserInterface
{
public:
    tarvex::TMsgResult Message(const std::string& text, tarvex::TMsgKind, tarvex::TMsgButtons) override
    {
        Messages->push_back(text);
        return tarvex::TMsgResult::OK;
    }
    std::shared_ptr<std::vector<std::string>> Messages = std::make_shared<std::vector<std::string>>();
};

// What a window below the main window works with, of its own: settings in memory, messages
// recorded.
struct TTestEnv {
    tarvex::TMemorySettings Store;
    TRecordingUi Ui;
    TLogColors Colors;
    TLogFontSetting Font;
    TAppSettings Settings;
    TGuiEnv Env{Store, Ui, Colors, Font, Settings};
};

// Answers the next modal dialog of that class once it is up: the test's hand on the dialog.
template <class TDialog>
void WhenDialogShows(std::function<void(TDialog*)> act)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto* dialog = qobject_cast<TDialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(dialog);
        }
    });
    poll->start();
}

inline QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes, bool append = false)
{
    QFile f(path);
    f.open(append ? QIODevice::Append : (QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A frame on a settings file of its own; Messages collects what it would have shown.
struct TFrameFixture {
    explicit TFrameFixture(const QString& ini)
    {
        auto ui = std::make_unique<TRecordingUi>();
        Messages = ui->Messages;
        Frame = std::make_unique<TFrameForm>(std::make_unique<TQtSettingsStore>(ini), std::move(ui));
    }
    std::unique_ptr<TFrameForm> Frame;
    std::shared_ptr<std::vector<std::string>> Messages;
};
