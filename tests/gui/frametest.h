#pragma once
// The start of a window test: each test function gets a frame of its own on a numbered
// settings file in the test's scratch folder, shown, with the program's date fixed in March
// 2026. The test class derives from QObject and from this, and calls StartFrame from its init()
// slot and StopFrame from its cleanup() slot.
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "app/childform.h"
#include "base/datetime.h"
#include "guitestutil.h"
#include "log/tlog.h"

class TFrameTest
{
protected:
    // A new frame on "<iniPrefix><run>.ini".
    void StartFrame(const char* iniPrefix)
    {
        Ini = Dir.filePath(QString("%1%2.ini").arg(iniPrefix).arg(++Run));
        F = std::make_unique<TFrameFixture>(Ini);
        F->Frame->show();
        tarvex::SetProgramStartDate(tarvex::EncodeDate(2026, 3, 1));
    }

    void StopFrame()
    {
        F->Frame->close();
        F.reset();
    }

    // Puts the log in the frame's list and opens it: its window, or null when none opened.
    TChildForm* AddAndOpen(std::unique_ptr<tarvex::TLog> log)
    {
        tarvex::TLog* raw = log.get();
        F->Frame->AddLogMenuItem(std::move(log));
        F->Frame->OpenLog(raw);
        return F->Frame->WindowOfLog(raw);
    }

    QTemporaryDir Dir;
    QString Ini;
    int Run = 0;
    std::unique_ptr<TFrameFixture> F;
};
