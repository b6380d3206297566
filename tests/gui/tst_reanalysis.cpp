#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include "app/childform.h"
#include "app/frameform.h"
#include "brakedir.h"
#include "brakelog.h"
#include "frametest.h"
#include "guitestutil.h"
#include "parsers/brakelog.h"
#include "setup/brakeoptionsform.h"
#include "views/dialstatform.h"
#include "views/freqform.h"
#include "views/sesslistform.h"
#include "views/timelineform.h"
#include "views/timelineview.h"

using namespace tarvex;

namespace {

// Every cell of every row the grid shows, as the user would read them.
QStringList Cells(const QTableView* grid)
{
    QStringList rows;
    const QAbstractItemModel* model = grid->model();
    for (int r = 0; r < grid->verticalHeader()->count(); ++r) {
        QString row;
        for (int c = 0; c < grid->horizontalHeader()->count(); ++c)
            row += model->index(r, c).data().toString() + '\t';
        rows << row;
    }
    return rows;
}

// What the open views of a log window show.
struct TShown {
    QStringList Sessions, Freqs, Nodes;
    QString Day;
    std::vector<std::size_t> Bars;

    explicit TShown(const TChildForm& w)
        : Sessions(Cells(w.SessList->Grid)), Freqs(Cells(w.FreqList->Grid)), Nodes(Cells(w.DialStat->Grid)),
          Day(w.Timeline->DayLabel->text())
    {
        for (const auto& bar : w.Timeline->Strip->Strip().Bars)
            Bars.push_back(bar.Session);
    }
};

void OpenAllViews(TChildForm* w)
{
    for (QToolButton* b : {w->SessListBtn, w->FreqListBtn, w->TimelineBtn, w->BtnDialStat})
        b->click();
}

}  // namespace

// Choosing another Brake! version analyses the text again; the open views let go of the old
// records first and then show the new ones, exactly as views opened afresh would.
class TestReanalysis : public QObject, protected TFrameTest
{
    Q_OBJECT
private slots:
    void init() { StartFrame("r"); }
    void cleanup() { StopFrame(); }

    void openViewsShowTheRecordsOfTheNewAnalysis()
    {
        const QString mailer = Dir.filePath("brake");
        fixtures::TBrakeDirOptions dir;
        dir.WriteAreas = false;
        fixtures::WriteBrakeDir(mailer.toStdString(), dir);
        fixtures::TBrakeLogOptions options;
        options.Lines = 3000;
        options.Version = 703;
        options.WithDamagedLines = false;
        const std::string text = fixtures::BuildBrakeLog(options);
        const QString path = Dir.filePath("brake.log");
        WriteBytes(path, QByteArray(text.data(), static_cast<qsizetype>(text.size())));

        auto log = std::make_unique<TBrakeLog>();
        log->Name = "brake";
        log->Path = path.toStdString();
        log->MailerPath = mailer.toStdString();
        log->BrkVersion = 701;  // the older reading finds none of the requests the log holds
        TBrakeLog* brake = log.get();
        TChildForm* w = AddAndOpen(std::move(log));
        QVERIFY(w && w->SessListBtn->isEnabled());
        const std::size_t freqsBefore = brake->Freqs.size();
        OpenAllViews(w);
        QVERIFY(w->SessList && w->FreqList && w->Timeline && w->DialStat);

        WhenDialogShows<TBrakeOptionsForm>([](TBrakeOptionsForm* f) {
            f->findChild<QRadioButton*>("RadItem1")->setChecked(true);
            f->BtnOK->click();
        });
        w->EditLogOptions();
        QCOMPARE(brake->BrkVersion, 703);
        QVERIFY(brake->Freqs.size() != freqsBefore);
        QVERIFY(w->SessList && w->FreqList && w->Timeline && w->DialStat);
        const TShown kept(*w);
        QCOMPARE(kept.Freqs.size(), static_cast<qsizetype>(brake->Freqs.size()));
        QCOMPARE(kept.Sessions.size(), static_cast<qsizetype>(brake->SessCount));

        for (QWidget* view : std::initializer_list<QWidget*>{w->SessList, w->FreqList, w->Timeline, w->DialStat})
            view->close();
        QVERIFY(!w->SessList && !w->FreqList && !w->Timeline && !w->DialStat);
        OpenAllViews(w);
        const TShown fresh(*w);
        QCOMPARE(kept.Sessions, fresh.Sessions);
        QCOMPARE(kept.Freqs, fresh.Freqs);
        QCOMPARE(kept.Nodes, fresh.Nodes);
        QCOMPARE(kept.Day, fresh.Day);
        QCOMPARE(kept.Bars, fresh.Bars);
    }
};

QTEST_MAIN(TestReanalysis)
#include "tst_reanalysis.moc"
