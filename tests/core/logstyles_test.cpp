#include <gtest/gtest.h>

#include <stdexcept>

#include "base/errors.h"
#include "log/genericstyles.h"
#include "styles/logfactory.h"
#include "styles/loglist.h"
#include "log/mailerlog.h"

using namespace tarvex;

TEST(StyleTable, DialogPositionsAndNames)
{
    for (int pos = 0; pos < kStyleCount; ++pos)
        EXPECT_EQ(DialogPosOfStyle(StyleOfDialogPos(pos)), pos);
    EXPECT_EQ(DialogPosOfStyle(7), 4);
    EXPECT_EQ(StyleOfDialogPos(0), 1);
    EXPECT_EQ(ParseStyle("t-MAIL"), 1);
    EXPECT_EQ(ParseStyle("Generic FrontDoor"), 3);
    EXPECT_EQ(ParseStyle("5"), 5);
    EXPECT_EQ(ParseStyle("9"), -1);
    EXPECT_EQ(ParseStyle("Frontdoor"), -1);
    EXPECT_THROW(CreateLog(9), std::invalid_argument);
    try {
        CreateLog(-1);
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Invalid Log.Style!");
    }
}

TEST(LogSettings, SaveLoadRoundTripKeepsTheStyleClass)
{
    TMemorySettings reg;
    auto log = CreateLog(7);
    auto& m = dynamic_cast<TMailerLog&>(*log);
    m.Name = "SF";
    m.Path = "/var/log/sf.log";
    m.MailerPath = "C:\\SF";
    m.UpdateDLC = true;
    m.CutSize = 300;
    m.CutMode = 1;
    m.Highlight = false;
    m.LastStr = "05/02 10:00:00 x";
    log->Save(reg, "Log1");
    EXPECT_EQ(reg.ReadString("Log1", "Style", ""), "7");
    EXPECT_EQ(reg.ReadString("Log1", "Highlight", ""), "0");

    auto back = LoadLog(reg.ReadInteger("Log1", "Style", 0), reg, "Log1");
    ASSERT_TRUE(back->IsMailer());
    const auto& b = dynamic_cast<const TMailerLog&>(*back);
    EXPECT_EQ(b.Style, 7);
    EXPECT_EQ(DialogPosOfStyle(b.Style), 4);
    EXPECT_EQ(b.MailerPath, "C:\\SF");
    EXPECT_TRUE(b.UpdateDLC);
    EXPECT_EQ(b.CutSize, 300);
    EXPECT_EQ(b.CutMode, 1);
    EXPECT_FALSE(b.Highlight);
    EXPECT_EQ(b.LastStr, "05/02 10:00:00 x");

    TMemorySettings empty;
    auto d = LoadLog(0, empty, "Log1");
    EXPECT_EQ(d->Name, "");
    EXPECT_TRUE(d->Highlight);

    // Following: the style's default (an analysed log is followed) until the user chooses, and
    // the choice is kept, through a change of style too.
    EXPECT_TRUE(b.Follows());
    EXPECT_FALSE(d->Follows());
    EXPECT_FALSE(reg.ReadValue("Log1", "Follow", m.LastStr));
    d->Follow = true;
    d->Save(reg, "Log2");
    EXPECT_TRUE(LoadLog(0, reg, "Log2")->Follows());
    m.Follow = false;
    m.Save(reg, "Log1");
    auto off = LoadLog(7, reg, "Log1");
    EXPECT_FALSE(off->Follows());
    auto other = CreateLog(0);
    other->Assign(*off);
    EXPECT_EQ(other->Follow, std::optional<bool>(false));
}

TEST(LogSettings, IntegersBooleansAndHex)
{
    TMemorySettings reg;
    reg.WriteString("General", "A", "0x1F");
    reg.WriteString("General", "B", "junk");
    reg.WriteString("General", "C", "2");
    reg.WriteString("General", "D", "0xFFFFFFFF");
    EXPECT_EQ(reg.ReadInteger("general", "a", 0), 31);
    EXPECT_EQ(reg.ReadInteger("General", "B", 5), 5);
    EXPECT_TRUE(reg.ReadBool("General", "C", false));
    EXPECT_TRUE(reg.ReadBool("General", "missing", true));
    EXPECT_EQ(reg.ReadInteger("General", "D", 0), -1);
}

TEST(LogList, ChangeStyleKeepsWhatItShould)
{
    TLogList logs;
    logs.Add(CreateLog(1));
    auto* t = dynamic_cast<TMailerLog*>(&logs[0]);
    t->Name = "Main";
    t->Path = "p";
    t->AutoNew = true;
    t->CutSize = 10;
    t->CutMode = 1;
    t->MailerPath = "C:\\TM";
    t->UpdateDLC = true;
    t->LastStr = "mark";
    t->Highlight = false;

    auto* brake = dynamic_cast<TMailerLog*>(logs.ChangeStyle(t, 4));
    ASSERT_TRUE(brake);
    EXPECT_EQ(&logs[0], brake);
    EXPECT_EQ(brake->Style, 4);
    EXPECT_EQ(brake->Name, "Main");
    EXPECT_TRUE(brake->AutoNew);
    EXPECT_EQ(brake->CutSize, 10);
    EXPECT_EQ(brake->MailerPath, "C:\\TM");
    EXPECT_TRUE(brake->UpdateDLC);
    EXPECT_EQ(brake->LastStr, "");
    EXPECT_TRUE(brake->Highlight);

    TLog* other = logs.ChangeStyle(brake, 0);
    EXPECT_FALSE(other->IsMailer());
    EXPECT_EQ(other->Path, "p");
    EXPECT_EQ(other->CutMode, 1);
}

TEST(LogList, FindLogAndMailerPath)
{
    TLogList logs;
    for (int s : {0, 1, 1}) {
        logs.Add(CreateLog(s));
        logs[logs.Count() - 1].Name = "same";
    }
    dynamic_cast<TMailerLog&>(logs[1]).MailerPath = "first";
    dynamic_cast<TMailerLog&>(logs[2]).MailerPath = "second";
    EXPECT_EQ(logs.FindLog("same"), &logs[0]);
    EXPECT_EQ(logs.FindLog("Same"), nullptr);
    EXPECT_EQ(logs.MailerPathOfStyle(1), "first");
    EXPECT_EQ(logs.MailerPathOfStyle(6), "");
}

TEST(LogList, UnknownStyleIsReportedAndKeptAcrossASave)
{
    TMemorySettings reg;
    reg.WriteString("General", "NumLogs", "3");
    reg.WriteString("Log1", "Name", "one");
    reg.WriteString("Log1", "Style", "1");
    reg.WriteString("Log2", "Name", "strange");
    reg.WriteString("Log2", "Style", "42");
    reg.WriteString("Log2", "Custom", "kept");
    reg.WriteString("Log3", "Name", "three");
    reg.WriteString("Log3", "Style", "3");
    reg.WriteString("Log4", "Name", "stale");
    reg.WriteString("Colors", "Normal", "clBlack");

    TLogList logs;
    TScriptedUserInterface ui;
    logs.Load(reg, ui);
    EXPECT_EQ(ui.Transcript, std::vector<std::string>{"Invalid Log.Style!"});
    ASSERT_EQ(logs.Count(), 2u);
    EXPECT_EQ(logs[1].Name, "three");

    logs.Save(reg);
    EXPECT_EQ(reg.ReadInteger("General", "NumLogs", 0), 3);
    EXPECT_EQ(reg.ReadString("Log2", "Name", ""), "three");
    EXPECT_EQ(reg.ReadString("Log3", "Name", ""), "strange");
    EXPECT_EQ(reg.ReadString("Log3", "Style", ""), "42");
    EXPECT_EQ(reg.ReadString("Log3", "Custom", ""), "kept");
    EXPECT_FALSE(reg.SectionExists("Log4"));
    EXPECT_EQ(reg.ReadString("Colors", "Normal", ""), "clBlack");
}

TEST(GenericStyles, BinkDatesAndColours)
{
    SetProgramStartDate(EncodeDate(2027, 1, 5));
    TBinkLog b;
    // The year never comes from the log: a December line read in January is last December's.
    EXPECT_EQ(b.DateOfLine("  31 Dec 23:59:59 BINK  hello"), EncodeDate(2026, 12, 31));
    EXPECT_THROW(b.DateOfLine("  31 dec 23:59:59 BINK  x"), EConvertError);
    EXPECT_THROW(b.DateOfLine("x"), EConvertError);

    // "! 05 Jan 10:00:00 BINK  error text"
    b.ColorLineNo = -1;
    EXPECT_EQ(b.GetWordColor("!", 1, 0), TColorItem::Errors);
    EXPECT_EQ(b.GetWordColor("05", 1, 2), TColorItem::DateTime);
    EXPECT_EQ(b.GetWordColor("Jan", 1, 5), TColorItem::DateTime);
    EXPECT_EQ(b.GetWordColor("10:00:00", 1, 9), TColorItem::DateTime);
    EXPECT_EQ(b.GetWordColor("BINK", 1, 18), TColorItem::Errors);
    // "  05 Jan 10:00:00 BINK  fine"
    EXPECT_EQ(b.GetWordColor("BINK", 2, 18), TColorItem::Special);
    EXPECT_EQ(b.GetWordColor("fine", 2, 24), TColorItem::Normal);
}

TEST(GenericStyles, FrontDoorDateLines)
{
    TFDLog f;
    EXPECT_EQ(f.DateOfLine("+ 10:00 before any date"), 0.0);
    EXPECT_EQ(f.DateOfLine("----------  Mon 04 Jan 99, FrontDoor"), EncodeDate(1999, 1, 4));
    EXPECT_EQ(f.DateOfLine("+ 10:00 later"), EncodeDate(1999, 1, 4));
    EXPECT_EQ(f.DateOfLine("----------  Sat 01 Jan 00, FrontDoor"), EncodeDate(1900, 1, 1));
    EXPECT_EQ(f.GetWordColor("----------", 7, 0), TColorItem::Errors);
    EXPECT_EQ(f.GetWordColor("Mon", 7, 12), TColorItem::Errors);
    EXPECT_EQ(f.GetWordColor("+", 8, 0), TColorItem::Normal);
    EXPECT_EQ(f.GetWordColor("10:00", 8, 2), TColorItem::DateTime);
}

TEST(GenericStyles, OtherColoursNothingAndHasOneDay)
{
    SetProgramStartDate(EncodeDate(2026, 6, 1));
    TLog o;
    EXPECT_EQ(o.GetWordColor("ERROR", 1, 0), TColorItem::Normal);
    EXPECT_EQ(o.DateOfLine("anything"), EncodeDate(2026, 6, 1));
}
