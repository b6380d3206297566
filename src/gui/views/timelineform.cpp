#include "views/timelineform.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "base/datetime.h"
#include "log/mailerlog.h"
#include "log/navigation.h"
#include "views/timelineview.h"
#include "views/viewparts.h"

using namespace tarvex;

TTimelineForm::TTimelineForm(const TGuiEnv& env, IViewHost& host, QWidget* parent)
    : TViewForm(env, host, TViewKind::Timeline, parent, "TimelineForm", "Timeline")
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    Strip = new TTimelineView([this](TColorItem item) { return Env.Colors.Color(item); }, this);
    Strip->setFont(Env.Font.Font);
    layout->addWidget(Strip);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(4, 0, 4, 0);
    auto spin = [&](const char* name, const QString& caption) {
        row->addWidget(new QLabel(caption, this));
        auto* s = new QSpinBox(this);
        s->setObjectName(name);
        s->setRange(0, 23);
        s->setWrapping(true);  // past 23 comes 0, below 0 comes 23
        row->addWidget(s);
        return s;
    };
    StartEdit = spin("StartEdit", "Start time");
    EndEdit = spin("EndEdit", "End time");
    row->addStretch(1);
    PrevBtn = new QPushButton("Previous day", this);
    PrevBtn->setObjectName("PrevBtn");
    row->addWidget(PrevBtn);
    DayLabel = new QLabel(this);
    DayLabel->setObjectName("DayLabel");
    DayLabel->setAlignment(Qt::AlignCenter);
    DayLabel->setMinimumWidth(70);
    row->addWidget(DayLabel);
    NextBtn = new QPushButton("Next day", this);
    NextBtn->setObjectName("NextBtn");
    row->addWidget(NextBtn);
    layout->addLayout(row);

    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(4, 0, 4, 0);
    bottom->addStretch(1);
    CloseBtn = new QPushButton("Close", this);
    CloseBtn->setObjectName("CloseBtn");
    bottom->addWidget(CloseBtn);
    layout->addLayout(bottom);
    layout->addStretch(1);

    connect(PrevBtn, &QPushButton::clicked, this, &TTimelineForm::PrevDayClick);
    connect(NextBtn, &QPushButton::clicked, this, &TTimelineForm::NextDayClick);
    connect(CloseBtn, &QPushButton::clicked, this, &QWidget::close);
    connect(Strip, &TTimelineView::SessionClicked, this, &TTimelineForm::Navigate);

    PlaceAsStored(500, 160);
}

void TTimelineForm::Open()
{
    Log = Host.ViewedLog();
    Strip->SetLog(Log);
    const TAppSettings& settings = Env.Settings;
    StartEdit->setValue(std::clamp<int>(settings.DayStart, 0, 23));
    EndEdit->setValue(std::clamp<int>(settings.DayEnd, 0, 23));
    Strip->SetWindow(StartEdit->value(), EndEdit->value());
    connect(StartEdit, &QSpinBox::valueChanged, this, &TTimelineForm::WindowChanged);
    connect(EndEdit, &QSpinBox::valueChanged, this, &TTimelineForm::WindowChanged);
    if (Log && !Log->Days.empty())
        ShowDay(0);
    show();
}

void TTimelineForm::DropRecords()
{
    Log = nullptr;
    Strip->SetLog(nullptr);
    Strip->Relayout();
    Strip->update();
}

void TTimelineForm::ShowRecords()
{
    Log = Host.ViewedLog();
    Strip->SetLog(Log);
    // The day shown before, as far as the new records still have it.
    if (Log && !Log->Days.empty())
        ShowDay(static_cast<std::size_t>(std::max(0, Log->DayAtLine(RememberedLine))));
    else
        Strip->update();
}

void TTimelineForm::RecordsGrew(const TPassGrowth& growth)
{
    if (!Log)
        return;
    const auto count = std::min(Log->Sessions.size(), static_cast<std::size_t>(std::max(Log->SessCount, 0)));
    for (std::size_t s = growth.FirstSession; s < count; ++s) {
        std::int64_t days = 0, ms = 0;
        SplitDateTime(Log->Sessions[s].StartTime, days, ms);
        // A strip whose hours run past midnight shows sessions of the next date too.
        if (days >= Strip->DayNumber() - 1 && days <= Strip->DayNumber() + 1) {
            Strip->SetLog(Log);
            Strip->Relayout();
            Strip->update();
            return;
        }
    }
}

void TTimelineForm::WindowChanged()
{
    TAppSettings& settings = Env.Settings;
    settings.DayStart = static_cast<std::uint16_t>(StartEdit->value());
    settings.DayEnd = static_cast<std::uint16_t>(EndEdit->value());
    Strip->SetWindow(StartEdit->value(), EndEdit->value());
}

void TTimelineForm::ShowDay(std::size_t index)
{
    const TNewDay& d = Log->Days[index];
    std::int64_t days = 0, ms = 0;
    SplitDateTime(d.Date, days, ms);
    RememberedLine = d.LineNo;
    DayLabel->setText(QString::fromStdString(FormatDDMMMYY(d.Date)));
    Strip->SetDayNumber(static_cast<int>(days));
}

void TTimelineForm::SetDay(std::int32_t dayIndex)
{
    if (Navigating || !Log || dayIndex < 0 || static_cast<std::size_t>(dayIndex) >= Log->Days.size())
        return;
    ShowDay(static_cast<std::size_t>(dayIndex));
}

void TTimelineForm::PrevDayClick()
{
    if (const std::int32_t day = Log ? PrevDayIndex(*Log, RememberedLine) : -1; day >= 0)
        ShowDay(static_cast<std::size_t>(day));
}

void TTimelineForm::NextDayClick()
{
    if (const std::int32_t day = Log ? NextDayIndex(*Log, RememberedLine) : -1; day >= 0)
        ShowDay(static_cast<std::size_t>(day));
}

void TTimelineForm::Navigate(std::int64_t session)
{
    if (!Log || session < 0 || static_cast<std::size_t>(session) >= Log->Sessions.size())
        return;
    Navigating = true;
    emit LineChosen(Log->Sessions[static_cast<std::size_t>(session)].StartLine);
    Navigating = false;
}

void TTimelineForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
