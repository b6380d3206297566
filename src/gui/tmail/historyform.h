#pragma once
#include "tmail/history.h"
#include "tmail/tmaillineform.h"

class THistoryModel;

// "Last sessions history": the last sessions of a T-Mail line, one row each in file order.
class THistoryForm : public TTMailLineForm
{
    Q_OBJECT
public:
    THistoryForm(const TGuiEnv& env, std::string mailerPath, QWidget* parent);

    const tarvex::THistoryTable& Table() const { return History; }

protected:
    bool Load() override;
    void Display() override;

private:
    tarvex::THistoryTable History;
    THistoryModel* Model;
};
