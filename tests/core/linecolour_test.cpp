// The colour of a line must not depend on which lines were painted before it, nor in which
// order: a viewer repaints single lines whenever the caret or the selection moves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/datetime.h"
#include "log/genericstyles.h"
#include "parsers/tmaillog.h"

using namespace tarvex;
using C = TColorItem;

namespace {

// Asks for the colour of every word of a line as the viewer does: blank-separated words,
// left to right, with their 0-based columns.
std::vector<C> Paint(TLog& log, const std::vector<std::string>& lines, int lineNo)
{
    const std::string& line = lines[static_cast<std::size_t>(lineNo - 1)];
    std::vector<C> colours;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        std::size_t end = line.find(' ', i);
        if (end == std::string::npos)
            end = line.size();
        colours.push_back(log.GetWordColor(std::string_view(line).substr(i, end - i), lineNo, static_cast<int>(i)));
        i = end;
    }
    return colours;
}

// Paints the lines in the given order and gives what the last one got.
std::vector<C> PaintInOrder(TLog& log, const std::vector<std::string>& lines, const std::vector<int>& order)
{
    std::vector<C> last;
    for (int n : order)
        last = Paint(log, lines, n);
    return last;
}

const std::vector<std::vector<int>> kOrders = {{1, 2}, {3, 2}, {2, 3, 2}, {1, 3, 2}, {2, 2}, {1, 2, 3, 1, 2}};

// Brake!'s colouring rules, enough to test a line that ClassifyWord fixes with a colour of its
// own and a word before it that only gets a colour for itself.
class TBrakeColours : public TLog
{
public:
    bool IsDateColumn(int col) const override { return col == 0 || col == 9; }
    bool IsErrorWord(std::string_view w) const override
    {
        return w.substr(0, 6) == "failed" || w.substr(0, 6) == "Unable";
    }
    bool ClassifyWord(std::string_view w, int col) override
    {
        if (col == 18) {
            CurColor = C::Special;
            return false;
        }
        if (col == 22)
            return false;
        if (w == "Incoming" || w == "Outgoing" || w == "Ready," || w == "Done,")
            CurColor = C::Info;
        return true;
    }
};

}  // namespace

TEST(LineColours, BinkErrorLineKeepsItsColoursWhateverWasPaintedBefore)
{
    SetProgramStartDate(EncodeDate(2026, 3, 20));
    const std::vector<std::string> lines = {
        "+ 14 Mar 18:46:59 BINK begin, BinkleyTerm/Win32 Ver. 2.60",
        "! 14 Mar 18:47:06 BINK SYS00000006: GetCommState()",
        "+ 15 Mar 09:00:01 BINK begin, BinkleyTerm/Win32 Ver. 2.60",
    };
    const std::vector<C> line2 = {C::Errors, C::DateTime, C::DateTime, C::DateTime, C::Errors, C::Errors, C::Errors};
    {
        TBinkLog log;
        EXPECT_EQ(PaintInOrder(log, lines, {1, 2, 3, 2}), line2);
    }
    for (const auto& order : kOrders) {
        TBinkLog log;
        EXPECT_EQ(PaintInOrder(log, lines, order), line2) << "order ending " << order.size();
    }
    // Line 3 itself, after line 2 was decided: the BINK word alone is Special, the rest Normal.
    TBinkLog log;
    EXPECT_EQ(PaintInOrder(log, lines, {2, 3}),
              (std::vector<C>{C::Normal, C::DateTime, C::DateTime, C::DateTime, C::Special, C::Normal, C::Normal,
                              C::Normal, C::Normal}));
}

TEST(LineColours, TMailCancelledLineIsClassifiedAfreshOnEveryPaint)
{
    const std::vector<std::string> lines = {
        "05/02 10:00:00 ZS- A.ZIP sent",
        "05/02 10:00:01 ZS- B.ZIP cancelled. by remote",
        "05/02 10:00:02 Dialing 2:5020/1",
    };
    // The words before "cancelled." keep the colour the line was classified with.
    const std::vector<C> line2 = {C::DateTime, C::DateTime, C::Transfers, C::Transfers, C::Errors, C::Errors, C::Errors};
    for (const auto& order : kOrders) {
        TTmailLog log;
        EXPECT_EQ(PaintInOrder(log, lines, order), line2);
    }
    TTmailLog log;
    EXPECT_EQ(PaintInOrder(log, lines, {2, 3}), (std::vector<C>{C::DateTime, C::DateTime, C::Normal, C::Normal}));
}

TEST(LineColours, LineFixedByClassifyWordAfterAOneWordColour)
{
    const std::vector<std::string> lines = {
        "10:00:00 12/03/26 BRK #1 failed to connect",
        "10:00:01 12/03/26 BRK #1 Incoming call from 2:5020/1",
        "10:00:02 12/03/26 BRK #2 Done, all sent",
    };
    // BRK at column 18 is Special for itself, #1 stays Normal; "Incoming" fixes Info for the rest.
    const std::vector<C> line2 = {C::DateTime, C::DateTime, C::Special, C::Normal, C::Info, C::Info, C::Info, C::Info};
    for (const auto& order : kOrders) {
        TBrakeColours log;
        EXPECT_EQ(PaintInOrder(log, lines, order), line2);
    }
}
