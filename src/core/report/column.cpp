#include "report/column.h"

namespace tarvex {

void TColumn::Assign(const TColumn& source)
{
    ColType = source.ColType;
    ShowScr = source.ShowScr;
    ShowFile = source.ShowFile;
    ScrWidth = source.ScrWidth;
    FileWidth = source.FileWidth;
    Heading = source.Heading;
}

}  // namespace tarvex
