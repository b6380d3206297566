#include "views/overviewform.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "log/mailerlog.h"
#include "report/nodehistory.h"
#include "views/daychart.h"
#include "views/viewparts.h"

using namespace tarvex;

TOverviewForm::TOverviewForm(const TGuiEnv& env, IViewHost& host, QWidget* parent)
    : TViewForm(env, host, TViewKind::Overview, parent, "OverviewForm", "Log overview")
{
    auto* layout = AddEdgeToEdgeLayout(this);
    SumLabel = new QLabel(this);
    SumLabel->setObjectName("SumLabel");
    SumLabel->setContentsMargins(6, 4, 6, 0);
    layout->addWidget(SumLabel);
    Chart = new TDayChart([this](TColorItem item) { return Env.Colors.Color(item); }, this);
    layout->addWidget(Chart, 1);
    CloseBtn = AddCloseRow(this, layout);
    connect(Chart, &TDayChart::DayClicked, this, &TOverviewForm::ChooseDay);
    PlaceAsStored(720, 360);
}

void TOverviewForm::Open()
{
    Log = Host.ViewedLog();
    Rebuild();
    show();
}

void TOverviewForm::Rebuild()
{
    std::vector<TDayBar> bars;
    if (Log)
        bars = LogOverviewBars(*Log);
    std::int64_t sessions = 0, sent = 0, recd = 0;
    for (const TDayBar& b : bars) {
        sessions += b.Sessions();
        sent += b.BytesSent;
        recd += b.BytesRecd;
    }
    const QLocale locale;
    SumLabel->setText(QString("%1 days, %2 sessions, %3 bytes sent, %4 bytes received")
                          .arg(locale.toString(static_cast<qint64>(bars.size())), locale.toString(sessions),
                               locale.toString(sent), locale.toString(recd)));
    Chart->SetBars(std::move(bars));
}

void TOverviewForm::DropRecords()
{
    Log = nullptr;
    Chart->SetBars({});
}

void TOverviewForm::ShowRecords()
{
    Log = Host.ViewedLog();
    Rebuild();
}

// A followed log's new sessions land on its last days; the overview is one walk over the
// sessions, cheap enough to take again.
void TOverviewForm::RecordsGrew(const TPassGrowth&)
{
    if (Log)
        Rebuild();
}

void TOverviewForm::SetDay(std::int32_t day) { Chart->MarkDay(day); }

void TOverviewForm::ChooseDay(std::int32_t day)
{
    if (Log && day >= 0 && static_cast<std::size_t>(day) < Log->Days.size())
        emit LineChosen(Log->Day(day).LineNo);
}

void TOverviewForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
