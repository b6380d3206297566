// A settings file that was damaged or edited by hand: the logs that can be read are read,
// nothing hangs, and saving keeps every log's section.
#include <gtest/gtest.h>

#include "host/settingsstore.h"
#include "host/userinterface.h"
#include "styles/loglist.h"

using namespace tarvex;

TEST(LogListDamaged, HugeNumLogsGapsAndStylesThatAreNoNumber)
{
    TMemorySettings reg;
    reg.WriteString("General", "NumLogs", "2147483647");
    reg.WriteString("Log1", "Name", "one");
    reg.WriteString("Log1", "Style", "1");
    reg.WriteString("Log2", "Name", "huge style");
    reg.WriteString("Log2", "Style", "99999999999");
    reg.WriteString("Log3", "Name", "negative style");
    reg.WriteString("Log3", "Style", "-5");
    reg.WriteString("Log6", "Name", "after a gap");
    reg.WriteString("Log6", "Style", "2");
    reg.WriteString("Log06", "Name", "not a log section");
    reg.WriteString("Logbook", "Name", "nor this");
    reg.WriteString("Log99999999999", "Name", "beyond any count");

    TLogList logs;
    TScriptedUserInterface ui;
    logs.Load(reg, ui);
    EXPECT_EQ(ui.Transcript, std::vector<std::string>{"Invalid Log.Style!"});
    ASSERT_EQ(logs.Count(), 2u);
    EXPECT_EQ(logs[0].Name, "one");
    EXPECT_EQ(logs[1].Name, "after a gap");
    EXPECT_EQ(logs[1].Style, lsGenericBink);
    EXPECT_EQ(logs.Unreadable.size(), 2u);
    EXPECT_EQ(logs.HighestSection, 6);

    logs.Save(reg);
    EXPECT_EQ(reg.ReadString("General", "NumLogs", ""), "4");
    EXPECT_EQ(reg.ReadString("Log2", "Name", ""), "after a gap");
    EXPECT_EQ(reg.ReadString("Log3", "Style", ""), "99999999999");
    EXPECT_EQ(reg.ReadString("Log4", "Style", ""), "-5");
    EXPECT_EQ(reg.ReadString("Log4", "Name", ""), "negative style");
    EXPECT_EQ(reg.ReadString("Log06", "Name", ""), "not a log section");
}

TEST(LogListDamaged, NumLogsBeyondTheSectionsCreatesNoEmptyLogs)
{
    TMemorySettings reg;
    reg.WriteString("General", "NumLogs", "5");
    reg.WriteString("Log2", "Name", "second");
    TLogList logs;
    TScriptedUserInterface ui;
    logs.Load(reg, ui);
    ASSERT_EQ(logs.Count(), 1u);
    EXPECT_EQ(logs[0].Name, "second");
    EXPECT_EQ(logs[0].Style, lsOther);  // no Style value: the default
    EXPECT_TRUE(ui.Transcript.empty());

    // NumLogs below the sections present: the count is what the file says.
    reg.WriteString("General", "NumLogs", "0");
    logs.Load(reg, ui);
    EXPECT_EQ(logs.Count(), 0u);
}

TEST(LogListDamaged, MissingOrUnreadableNumLogsReadsEveryLogSection)
{
    for (const char* numLogs : {"", "banana", "-3"}) {
        TMemorySettings reg;
        if (*numLogs)
            reg.WriteString("General", "NumLogs", numLogs);
        reg.WriteString("Log1", "Name", "first");
        reg.WriteString("Log3", "Name", "third");
        TLogList logs;
        TScriptedUserInterface ui;
        logs.Load(reg, ui);
        ASSERT_EQ(logs.Count(), 2u) << numLogs;
        EXPECT_EQ(logs[1].Name, "third");
        logs.Save(reg);
        EXPECT_EQ(reg.ReadString("Log2", "Name", ""), "third");
        EXPECT_EQ(reg.ReadString("General", "NumLogs", ""), "2");
    }
}
