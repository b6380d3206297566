#include "common/windowplacement.h"

#include <QStringList>

#include "common/windowfit.h"

namespace {

bool ParseRect(const std::string& text, QRect& r)
{
    const QStringList parts = QString::fromStdString(text).split(',');
    if (parts.size() != 4)
        return false;
    int v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return false;
    }
    if (v[2] <= v[0] || v[3] <= v[1])
        return false;
    r = QRect(QPoint(v[0], v[1]), QPoint(v[2] - 1, v[3] - 1));
    return true;
}

}  // namespace

void SaveWindowPlacement(tarvex::ISettingsStore& reg, std::string_view section, const QWidget& w)
{
    const QRect n = w.normalGeometry().isValid() ? w.normalGeometry() : w.geometry();
    const int showCmd = w.isMaximized() ? 3 : w.isMinimized() ? 2 : 1;
    reg.WriteInteger(section, "Flags", 0);
    reg.WriteInteger(section, "ShowCmd", showCmd);
    reg.WriteString(section, "MinMaxPos", "-1,-1,-1,-1");
    reg.WriteString(section, "NormPos", QString::asprintf("%d,%d,%d,%d", n.left(), n.top(), n.right() + 1, n.bottom() + 1).toStdString());
}

bool RestoreWindowPlacement(const tarvex::ISettingsStore& reg, std::string_view section, QWidget& w)
{
    QRect r;
    if (!ParseRect(reg.ReadString(section, "NormPos", ""), r))
        return false;
    // A placement saved on a larger or another screen must not leave any of the window out of reach.
    w.setGeometry(FitInside(r, ScreenAreaFor(r)));
    if (reg.ReadInteger(section, "ShowCmd", 1) == 3)
        w.setWindowState(w.windowState() | Qt::WindowMaximized);
    return true;
}
