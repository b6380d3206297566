#include "tmail/trafficform.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDate>
#include <QFileDialog>
#include <QLocale>
#include <QMenu>
#include <QStyle>
#include <QTableView>
#include <QTime>
#include <QToolButton>

#include "platform/fileops.h"
#include "tmail/trafficmodel.h"

using namespace tarvex;

namespace {

constexpr const char* kCaption = "Traffic";
// The total row sums a whole line's traffic: its cells run longer than a node's.
const std::vector<TColumnDesign> kColumns = {{93, "2:5020/1234.56"}, {75, "9999/9999K"}, {78, "9999/9999K"},
                                             {67, "9999:59:59"},     {64, "9999:59:59"}, {64, "9999/9999"},
                                             {64, "9999/9999"}};

}  // namespace

TTrafficForm::TTrafficForm(const TGuiEnv& env, std::string mailerPath, QWidget* parent)
    : TTMailLineForm(env, std::move(mailerPath), parent, "TTrafficForm", "TrafficGrid", kColumns, new TTrafficModel),
      Model(static_cast<TTrafficModel*>(Grid()->model()))
{
    setWindowTitle(kCaption);
    resize(562, 345);

    SortPopup = new QMenu(this);
    SortPopup->setObjectName("SortMenu");
    auto* group = new QActionGroup(this);
    const char* const captions[4] = {"&Unsorted", "&Address", "&Sessions", "&Traffic"};
    for (int m = 0; m < 4; ++m) {
        SortItems[m] = SortPopup->addAction(captions[m]);
        SortItems[m]->setCheckable(true);
        group->addAction(SortItems[m]);
        connect(SortItems[m], &QAction::triggered, this, [this, m] { SetSortMode(static_cast<TTrafficSort>(m)); });
    }
    SortItems[0]->setChecked(true);

    QStyle* s = style();
    QToolButton* sortBtn = AddToolButton("SortBtn", "Sort mode", s->standardIcon(QStyle::SP_ArrowDown));
    sortBtn->setMenu(SortPopup);
    sortBtn->setPopupMode(QToolButton::InstantPopup);
    QToolButton* findBtn = AddToolButton("FindBtn", "Find a node", s->standardIcon(QStyle::SP_FileDialogContentsView));
    QToolButton* lineBtn = AddToolButton("LineBtn", "Select line", s->standardIcon(QStyle::SP_FileDialogDetailedView));
    QToolButton* reportBtn = AddToolButton("ReportBtn", "Write report to file", s->standardIcon(QStyle::SP_DialogSaveButton));
    connect(findBtn, &QToolButton::clicked, this, &TTrafficForm::FindNode);
    connect(lineBtn, &QToolButton::clicked, this, &TTMailLineForm::SelectLine);
    connect(reportBtn, &QToolButton::clicked, this, &TTrafficForm::WriteReport);

    AskReportFile = [this](const QString& defaultName) {
        return QFileDialog::getSaveFileName(this, "Write report to file", defaultName);
    };
}

bool TTrafficForm::Load()
{
    return LoadTable(LoadTrafficFile, TrafficFileName(MailerLine), "Cannot open traffic file", Traffic,
                     &TTrafficTable::Entries, *Model);
}

void TTrafficForm::Display()
{
    TBusyCursor busy(Env.Ui);
    SortTraffic(Traffic.Entries, Sort);
    Model->SetTable(&Traffic);
}

void TTrafficForm::SetSortMode(TTrafficSort mode)
{
    Sort = mode;
    SortItems[static_cast<int>(mode)]->setChecked(true);
    Display();
}

void TTrafficForm::FindNode()
{
    QString text;
    if (!InputQuery || !InputQuery("Find address", "Input address", text))
        return;
    const int count = static_cast<int>(Traffic.Entries.size());
    for (int row = 0; row < count; ++row)
        if (Model->index(row, 0).data().toString() == text) {
            Grid()->setCurrentIndex(Model->index(row, 0));
            Grid()->selectRow(row);
            return;
        }
}

void TTrafficForm::WriteReport()
{
    if (!AskReportFile)
        return;
    const QString path = AskReportFile("tarvex.tra");
    if (!path.isEmpty())
        WriteReportTo(path);
}

bool TTrafficForm::WriteReportTo(const QString& path)
{
    const QLocale locale;
    const std::string when = (locale.toString(QDate::currentDate(), QLocale::ShortFormat) + " " +
                              locale.toString(QTime::currentTime(), QLocale::LongFormat))
                                 .toStdString();
    const std::string report = TrafficReport(Traffic.Entries, Traffic.Totals, &when);
    std::string error;
    // Written beside the target first, so an old report is either replaced whole or kept.
    if (!ReplaceFileContents(path.toStdString(), report, "", &error)) {
        Env.Ui.Message(error, TMsgKind::Error, TMsgButtons::OK);
        return false;
    }
    return true;
}
