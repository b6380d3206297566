#pragma once
#include <QPoint>
#include <QRect>
#include <QString>
#include <string>
#include <string_view>

#include "report/viewsections.h"

using tarvex::kViewKinds;
using tarvex::TViewKind;
using tarvex::ViewSection;

namespace tarvex {
class TMailerLog;
}

// What a view asks of the log window it belongs to; the window implements it. Anything the
// view wants done to the window (go to a line, forget the view) it says through its signals.
class IViewHost
{
public:
    virtual ~IViewHost() = default;
    // The analysed log the views show; null when there is none.
    virtual tarvex::TMailerLog* ViewedLog() const = 0;
    // The code page the log's text is shown in.
    virtual QString TextCodePage() const = 0;
    // The settings section of this log's view of that kind (the log may be renamed meanwhile).
    virtual std::string SectionOf(TViewKind kind) const = 0;
    // Where a view opens when none is stored (global): over the log's text, a step further for
    // each view already open.
    virtual QPoint ViewOpeningPos() const = 0;
    // The main window's client area (global), which a view opening for the first time stays in.
    virtual QRect ViewArea() const = 0;
};
