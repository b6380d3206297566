#pragma once
// The demo desktop written to a scratch folder of its own and a frame shown on it, as a user
// starting the demo sees it. A test opens it with
//     TDemoDesktop demo;
//     QVERIFY2(demo.Open(), qPrintable(demo.Error));
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "app/demo.h"
#include "guitestutil.h"

struct TDemoDesktop
{
    // False, with the reason in Error, when the demo could not be written.
    bool Open()
    {
        const QString ini = PrepareDemo(Dir.filePath("demo"), &Error);
        if (ini.isEmpty())
            return false;
        F = std::make_unique<TFrameFixture>(ini);
        F->Frame->show();
        return true;
    }

    QTemporaryDir Dir;
    QString Error;
    std::unique_ptr<TFrameFixture> F;
};
