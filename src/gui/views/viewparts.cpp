#include "views/viewparts.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <algorithm>

#include "base/errors.h"
#include "common/windowfit.h"
#include "host/settingsstore.h"
#include "host/userinterface.h"

using namespace tarvex;

QHBoxLayout* AddSetupReportBar(QWidget* view, QBoxLayout* layout, const QString& setupHint, QToolButton*& setupBtn,
                               QToolButton*& reportBtn)
{
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(2, 2, 2, 2);
    setupBtn = AddBarButton(view, bar, "SetupBtn", "Setup", setupHint);
    reportBtn = AddBarButton(view, bar, "ReportBtn", "Report", "Write report");
    layout->addLayout(bar);
    return bar;
}

QToolButton* AddBarButton(QWidget* parent, QBoxLayout* bar, const char* name, const QString& caption,
                          const QString& hint)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setText(caption);
    b->setToolTip(hint);
    b->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(b);
    return b;
}

QPushButton* AddCloseRow(QWidget* view, QBoxLayout* layout)
{
    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(4, 4, 4, 4);
    bottom->addStretch(1);
    auto* close = new QPushButton("Close", view);
    close->setObjectName("CloseBtn");
    bottom->addWidget(close);
    layout->addLayout(bottom);
    QObject::connect(close, &QPushButton::clicked, view, &QWidget::close);
    return close;
}

namespace {

bool PositionStored(const ISettingsStore& store, const std::string& section)
{
    std::string stored;
    return store.ReadValue(section, "Left", stored);
}

void Place(QWidget* view, QRect r, bool stored, const QRect& area)
{
    if (!stored)
        r = FitInside(r, area);
    r = FitInside(r, ScreenAreaFor(r));
    view->resize(r.size());
    view->move(r.topLeft());
}

}  // namespace

void RestorePlacement(QWidget* view, const ISettingsStore& store, const std::string& section, int width, int height,
                      QPoint opening, const QRect& area)
{
    // A damaged value must not make a window larger than any screen.
    const int w = store.ReadInteger(section, "Width", 0), h = store.ReadInteger(section, "Height", 0);
    QRect r(opening, QSize(w > 0 ? std::min(w, 8000) : width, h > 0 ? std::min(h, 8000) : height));
    const bool stored = PositionStored(store, section);
    if (stored)
        r.moveTo(store.ReadInteger(section, "Left", 0), store.ReadInteger(section, "Top", 0));
    Place(view, r, stored, area);
}

void WidenToShowGrid(QWidget* view, const QTableView* grid, const ISettingsStore& store, const std::string& section,
                     const QRect& area)
{
    if (store.ReadInteger(section, "Width", 0) > 0)
        return;
    QRect r(view->pos(), view->size());
    r.setWidth(std::max(r.width(), WidthShowingColumns(grid)));
    Place(view, r, PositionStored(store, section), area);
}

std::vector<int> HeaderWidths(const QHeaderView* header)
{
    std::vector<int> widths;
    for (int k = 0; k < header->count(); ++k)
        widths.push_back(header->sectionSize(k));
    return widths;
}

void UndoSectionMove(QHeaderView* header, int from, int to)
{
    const bool blocked = header->blockSignals(true);
    header->moveSection(to, from);
    header->blockSignals(blocked);
}

QStringList TypeNameList(std::span<const char* const> names)
{
    QStringList list;
    for (const char* n : names)
        list << n;
    return list;
}

void FillSetupDialog(TSLSetupForm& dialog, const std::vector<const TColumn*>& columns, const TAddrList& highlight,
                     const std::string& header, const std::string& footer)
{
    dialog.SetColumns(columns);
    std::vector<std::string> lines;
    highlight.SaveToLines(lines);
    QStringList qlines;
    for (const std::string& l : lines)
        qlines << QString::fromStdString(l);
    dialog.SetAddressLines(qlines);
    dialog.SetTemplates(QString::fromStdString(header), QString::fromStdString(footer));
}

bool TakeSetupResults(const TSLSetupForm& dialog, TAddrList& highlight, std::string& header, std::string& footer,
                      IUserInterface& ui)
{
    std::vector<std::string> addr;
    for (const QString& l : dialog.AddressLines())
        if (!l.trimmed().isEmpty())  // a stray blank line is no address to complain about
            addr.push_back(l.trimmed().toStdString());
    highlight.Clear();
    try {
        highlight.LoadFromLines(addr);
    } catch (const EConvertError& e) {
        ui.Message(e.what(), TMsgKind::Error, TMsgButtons::OK);
        return false;
    }
    header = dialog.HeaderFile().toStdString();
    footer = dialog.FooterFile().toStdString();
    return true;
}
