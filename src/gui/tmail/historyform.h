#pragma once
#include "tmail/history.h"
#include "tmail/tmaillineform.h"

class THistoryModel;

// "Last sessions history": the last sessions of a T-Mail line, one row each in file order.
class THistoryForm : public TTMailLineForm
{
    Q_OBJECT
public:
    explicit THistoryForm(TFrameForm* frame);

    const tarvex::THistoryTable& Table() const { return History; }

protected:
    bool Load() override;
    void Display() override;
    void Closed() override;

private:
    tarvex::THistoryTable History;
    THistoryModel* Model;
};
