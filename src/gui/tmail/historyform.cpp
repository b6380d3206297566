#include "tmail/historyform.h"

#include <QStyle>
#include <QTableView>
#include <QToolButton>

#include "app/frameform.h"
#include "tmail/historymodel.h"

using namespace tarvex;

namespace {

const std::vector<TColumnDesign> kColumns = {{64, "Out OK"},   {64, "2:5020/1234.56"}, {65, "23:59:59"},
                                             {64, "10:59:59"}, {64, "255/9999K"},      {64, "255/9999K"}};

}  // namespace

THistoryForm::THistoryForm(TFrameForm* frame)
    : TTMailLineForm(frame, "THistoryForm", "HistoryGrid", kColumns, new THistoryModel),
      Model(static_cast<THistoryModel*>(Grid()->model()))
{
    setWindowTitle("Last sessions history");
    resize(435, 331);
    QToolButton* lineBtn = AddToolButton("LineBtn", "Select line", style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    connect(lineBtn, &QToolButton::clicked, this, &TTMailLineForm::SelectLine);
}

bool THistoryForm::Load()
{
    THistoryTable table;
    const std::string path = SysFilePath(SysPath, HistoryFileName(MailerLine));
    Frame()->Ui().SetBusyCursor(true);
    const TRecordFileResult r = LoadHistoryFile(path, table);
    Frame()->Ui().SetBusyCursor(false);
    if (!ReportLoadResult(static_cast<int>(r), "Cannot open history file"))
        return false;
    Model->SetTable(nullptr);
    History = std::move(table);
    TRecordFile f;
    f.Count = History.Records.size();
    f.LeftoverBytes = History.LeftoverBytes;
    const std::string leftover = LeftoverText(f);
    SetStatusText(QString::fromStdString(HistoryFileName(MailerLine) + (leftover.empty() ? "" : ": " + leftover)));
    return true;
}

void THistoryForm::Display() { Model->SetTable(&History); }

void THistoryForm::Closed() { Frame()->HistoryClosed(MailerLine); }
