#include "tmail/historyform.h"

#include <QStyle>
#include <QTableView>
#include <QToolButton>

#include "tmail/historymodel.h"

using namespace tarvex;

namespace {

const std::vector<TColumnDesign> kColumns = {{64, "Out OK"},   {64, "2:5020/1234.56"}, {65, "23:59:59"},
                                             {64, "10:59:59"}, {64, "255/9999K"},      {64, "255/9999K"}};

}  // namespace

THistoryForm::THistoryForm(const TGuiEnv& env, std::string mailerPath, QWidget* parent)
    : TTMailLineForm(env, std::move(mailerPath), parent, "THistoryForm", "HistoryGrid", kColumns, new THistoryModel),
      Model(static_cast<THistoryModel*>(Grid()->model()))
{
    setWindowTitle("Last sessions history");
    resize(435, 331);
    QToolButton* lineBtn = AddToolButton("LineBtn", "Select line", style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    connect(lineBtn, &QToolButton::clicked, this, &TTMailLineForm::SelectLine);
}

bool THistoryForm::Load()
{
    return LoadTable(LoadHistoryFile, HistoryFileName(MailerLine), "Cannot open history file", History,
                     &THistoryTable::Records, *Model);
}

void THistoryForm::Display() { Model->SetTable(&History); }
