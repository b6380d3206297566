#include <gtest/gtest.h>

#include <string>

#include "base/errors.h"
#include "base/datetime.h"
#include "base/logutils.h"

using namespace tarvex;

TEST(WordAt, CountsFromOneAndMergesDelimiterRuns)
{
    EXPECT_EQ(WordAt(1, "a,,b, c", ","), "a");
    EXPECT_EQ(WordAt(2, "a,,b, c", ","), "b");
    EXPECT_EQ(WordAt(3, "a,,b, c", ","), " c");  // the blank is not a delimiter here
    EXPECT_EQ(WordAt(4, "a,,b, c", ","), "");
    EXPECT_EQ(WordAt(1, ",x", ","), "x");
    EXPECT_EQ(WordAt(0, "a b", " "), "");
    EXPECT_EQ(WordAt(-1, "a b", " "), "");
}

TEST(WordAt, EveryDelimiterCharacterSeparatesAndTabsAreOrdinary)
{
    EXPECT_EQ(WordAt(3, "12:34 Rcvd/x", " :/"), "Rcvd");
    EXPECT_EQ(WordAt(2, "a\tb c", " "), "c");
    EXPECT_EQ(WordAt(1, "a\tb c", " "), "a\tb");
}

TEST(WordAt, DegenerateInputs)
{
    EXPECT_EQ(WordAt(1, "", " "), "");
    EXPECT_EQ(WordAt(1, ",,,", ","), "");
    EXPECT_EQ(WordAt(1, "abc", ""), "abc");
    EXPECT_EQ(WordAt(2, "abc", ""), "");
    const std::string longWord(100000, 'x');
    EXPECT_EQ(WordAt(2, " a " + longWord + " ", " "), longWord);
}

// The views must cut exactly the words of the copying form, with one delimiter or several.
TEST(WordViewAt, AgreesWithWordAtAndPointsIntoTheText)
{
    const std::string texts[] = {"a,,b, c", ",x", ",,,", "", "abc", "12:34 Rcvd/x", " a  b ", "a\tb c"};
    const std::string delims[] = {",", " ", " :/", ""};
    for (const auto& t : texts)
        for (const auto& d : delims)
            for (int n = -1; n <= 4; ++n) {
                EXPECT_EQ(std::string(WordViewAt(n, t, d)), WordAt(n, t, d)) << t << '|' << d << '|' << n;
                if (d.size() == 1) {
                    EXPECT_EQ(std::string(WordViewAt(n, t, d[0])), WordAt(n, t, d)) << t << '|' << d << '|' << n;
                }
            }
    const std::string line = "x y zz";
    const std::string_view w = WordViewAt(3, line, ' ');
    EXPECT_EQ(w.data(), line.data() + 4);
    EXPECT_EQ(w.size(), 2u);
}

TEST(Trimming, OnlySpaceCountsAsBlank)
{
    EXPECT_EQ(DropLeadingSpaces("  a b  "), "a b  ");
    EXPECT_EQ(DropTrailingSpaces("  a b  "), "  a b");
    EXPECT_EQ(DropOuterSpaces("  a b  "), "a b");
    EXPECT_EQ(DropOuterSpaces("\t a \t"), "\t a \t");
    EXPECT_EQ(DropOuterSpaces("    "), "");
    EXPECT_EQ(DropOuterSpaces(""), "");
    EXPECT_EQ(DropLeadingSpaces(" "), "");
    EXPECT_EQ(DropTrailingSpaces(" "), "");
}

TEST(SmallStringRoutines, EdgeValues)
{
    EXPECT_EQ(RemoveChar("1,234,,5", ','), "12345");
    EXPECT_EQ(RemoveChar(",,,", ','), "");
    EXPECT_EQ(RepeatChar('-', 3), "---");
    EXPECT_EQ(RepeatChar('-', 0), "");
    EXPECT_EQ(RepeatChar('-', -5), "");
    EXPECT_EQ(PadRight("ab", 4), "ab  ");
    EXPECT_EQ(PadRight("abcd", 2), "abcd");
    EXPECT_EQ(PadRight("ab", -1), "ab");
    EXPECT_EQ(TextBefore("12/34", '/'), "12");
    EXPECT_EQ(TextBefore("1234", '/'), "1234");
    EXPECT_EQ(TextBefore("/34", '/'), "");
    EXPECT_EQ(NoTrailingBackslash(""), "");
    EXPECT_EQ(NoTrailingBackslash("\\"), "");
    EXPECT_EQ(NoTrailingBackslash("C:\\A\\\\"), "C:\\A\\");
    EXPECT_EQ(NoTrailingBackslash("C:\\A"), "C:\\A");
}

TEST(CutBefore, KeepsDelimiterAtStartOfRest)
{
    std::string s = "12/34, x";
    EXPECT_EQ(CutBefore(s, '/'), "12");
    EXPECT_EQ(s, "/34, x");

    s = "no delimiter";
    EXPECT_EQ(CutBefore(s, '/'), "no delimiter");
    EXPECT_EQ(s, "");

    s = "a  b";  // a blank delimiter: the blanks after it go too
    EXPECT_EQ(CutBefore(s, ' '), "a");
    EXPECT_EQ(s, "b");

    s = "";
    EXPECT_EQ(CutBefore(s, '/'), "");
    EXPECT_EQ(s, "");
}

TEST(MatchWild, WholeStringAndCase)
{
    EXPECT_TRUE(MatchWild("FILE.ZIP", "*.ZIP", false));
    EXPECT_FALSE(MatchWild("FILE.ZIP", "*.zip", false));
    EXPECT_TRUE(MatchWild("FILE.ZIP", "*.zip", true));
    EXPECT_TRUE(MatchWild("FILE.ZIP", "F?LE.*", false));
    EXPECT_FALSE(MatchWild("FILE.ZIPX", "*.ZIP", false));
    EXPECT_FALSE(MatchWild("XFILE", "FILE", false));
    EXPECT_TRUE(MatchWild("", "*", false));
    EXPECT_TRUE(MatchWild("", "", false));
    EXPECT_FALSE(MatchWild("", "?", false));
    EXPECT_FALSE(MatchWild("a", "", false));
    EXPECT_TRUE(MatchWild("abcabd", "*ab?", false));
    EXPECT_TRUE(MatchWild("aXbYc", "a*b*c", false));
    EXPECT_FALSE(MatchWild("aXbYd", "a*b*c", false));
    EXPECT_TRUE(MatchWild("mississippi", "m*iss*ppi", false));
    EXPECT_TRUE(MatchWild("a*b", "a*b", false));
}

TEST(MatchWild, LastCharacterOfThePattern)
{
    EXPECT_FALSE(MatchWild("FILE.PKT", "*.ZIP", false));
    EXPECT_FALSE(MatchWild("", "*P", false));
    EXPECT_TRUE(MatchWild("P", "*P", false));
    EXPECT_TRUE(MatchWild("file.zip", "*.ZIP", true));
    EXPECT_FALSE(MatchWild("file.zip", "*.ZIP", false));
    EXPECT_TRUE(MatchWild("AB", "A?", false));
    EXPECT_TRUE(MatchWild("AB", "A*", false));
    EXPECT_FALSE(MatchWild("AB", "A", false));
}

TEST(MatchWild, HostilePatternStaysFast)
{
    // Exponential backtracking would never finish on this.
    const std::string s(5000, 'a');
    std::string pattern;
    for (int i = 0; i < 50; ++i)
        pattern += "*a";
    EXPECT_FALSE(MatchWild(s + "b", pattern + "c", false));
    EXPECT_TRUE(MatchWild(s, pattern, false));
}

TEST(StrToInt, AcceptsWhatTheRuntimeConversionAccepts)
{
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("  42"), 42);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("-7"), -7);
    EXPECT_EQ(StrToInt("007"), 7);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("0x1f"), 31);
    EXPECT_EQ(StrToInt("0X10"), 16);
    EXPECT_EQ(StrToInt("-$10"), -16);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(StrToInt("$7FFFFFFF"), 2147483647);
    // Around the length where plain digits stop being read the short way.
    EXPECT_EQ(StrToInt("999999999"), 999999999);
    EXPECT_EQ(StrToInt("0999999999"), 999999999);
    EXPECT_EQ(StrToInt("1000000000"), 1000000000);
    EXPECT_EQ(StrToInt("000000000000042"), 42);
}

TEST(StrToInt, RejectsEverythingElseWithTheRuntimeMessage)
{
    for (const char* bad : {"", " ", "-", "+", "$", "0x", "12 ", "1 2", "12a", "\t12", "- 1", "1.5", "2147483648",
                            "-2147483649", "$100000000", "99999999999999999999", "0x-1", "--1"}) {
        int v = 99;
        EXPECT_FALSE(TryStrToInt(bad, v)) << bad;
        EXPECT_EQ(v, 99) << bad;
        EXPECT_EQ(StrToIntDef(bad, -3), -3) << bad;
        try {
            StrToInt(bad);
            ADD_FAILURE() << "no error for '" << bad << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("'") + bad + "' is not a valid integer value");
        }
    }
}

TEST(StrToIntGrouped, RemovesThousandsSeparators)
{
    EXPECT_EQ(StrToIntGrouped("1,234,567"), 1234567);
    EXPECT_EQ(StrToIntGrouped("12"), 12);
    EXPECT_EQ(StrToIntGrouped(",1,"), 1);
    EXPECT_THROW(StrToIntGrouped(","), EConvertError);
    EXPECT_THROW(StrToIntGrouped("1.234"), EConvertError);
    EXPECT_THROW(StrToIntGrouped("bytes"), EConvertError);
}

TEST(StripParenthesized, RemovesNoteAndSeparatingBlank)
{
    EXPECT_EQ(StripParenthesized("FILE.ZIP (123)"), "FILE.ZIP");
    EXPECT_EQ(StripParenthesized("NAME (x)"), "NAME");
    EXPECT_EQ(StripParenthesized("NAME"), "NAME");
    EXPECT_EQ(StripParenthesized("A (b) (c)"), "A (b)");  // the nearest '(' only
    EXPECT_EQ(StripParenthesized("NAME(x)"), "NAM");     // the character before '(' goes, blank or not
    EXPECT_EQ(StripParenthesized("(x)"), "");
    EXPECT_EQ(StripParenthesized(")"), ")");
    EXPECT_EQ(StripParenthesized("a)"), "a)");
    EXPECT_EQ(StripParenthesized(""), "");
    EXPECT_EQ(StripParenthesized("x (y"), "x (y");
}

TEST(FileNameOf, LastBackslashButNotATrailingOne)
{
    EXPECT_EQ(FileNameOf("C:\\FILES\\A.ZIP"), "A.ZIP");
    EXPECT_EQ(FileNameOf("A.ZIP"), "A.ZIP");
    EXPECT_EQ(FileNameOf("C:\\DIR\\"), "DIR\\");
    EXPECT_EQ(FileNameOf("\\A"), "A");
    EXPECT_EQ(FileNameOf("\\"), "\\");
    EXPECT_EQ(FileNameOf("\\\\"), "\\");
    EXPECT_EQ(FileNameOf("A\\\\"), "\\");
    EXPECT_EQ(FileNameOf(""), "");
    EXPECT_EQ(FileNameOf("a"), "a");
    EXPECT_EQ(FileNameOf("C:/unix/style"), "C:/unix/style");
    for (const char* p : {"C:\\FILES\\A.ZIP", "A.ZIP", "C:\\DIR\\", "\\", "A\\\\", "", "a"})
        EXPECT_EQ(std::string(FileNameViewOf(p)), FileNameOf(p)) << p;
}

TEST(MonthOfName, ExactEnglishAbbreviations)
{
    EXPECT_EQ(MonthOfName("Jan"), 1);
    EXPECT_EQ(MonthOfName("May"), 5);
    EXPECT_EQ(MonthOfName("Dec"), 12);
    for (const char* bad : {"jan", "JAN", "Ja", "Janu", "", " Jan", "Jan "}) {
        try {
            MonthOfName(bad);
            ADD_FAILURE() << bad;
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), "Invalid month");
        }
    }
}

TEST(SizeToStr, ThresholdsAreStrictlyGreater)
{
    EXPECT_EQ(SizeToStr(0), "0");
    EXPECT_EQ(SizeToStr(1024), "1024");
    EXPECT_EQ(SizeToStr(1025), "1K");
    EXPECT_EQ(SizeToStr(2047), "1K");
    EXPECT_EQ(SizeToStr(1048576), "1024K");
    EXPECT_EQ(SizeToStr(1048577), "1M");
    EXPECT_EQ(SizeToStr(5368709120LL), "5120M");
    EXPECT_EQ(SizeToStr(-5), "-5");
}

TEST(SecsToStr, HoursUnpaddedMinutesSecondsTwoDigits)
{
    EXPECT_EQ(SecsToStr(0), "0:00:00");
    EXPECT_EQ(SecsToStr(59), "0:00:59");
    EXPECT_EQ(SecsToStr(60), "0:01:00");
    EXPECT_EQ(SecsToStr(3725), "1:02:05");
    EXPECT_EQ(SecsToStr(25 * 3600 + 61), "25:01:01");
    EXPECT_EQ(SecsToStr(360000), "100:00:00");
    EXPECT_EQ(SecsToStr(-3725), "-1:02:05");
}

TEST(TimelinePos, WindowOverMidnight)
{
    const TDateTime d = EncodeDate(2026, 3, 10);
    int day = 0, secs = 0;
    TimelinePos(d + EncodeTime(21, 30, 0), 20, 8, day, secs);
    EXPECT_EQ(day, static_cast<int>(d) + 1);
    EXPECT_EQ(secs, 5400);
    TimelinePos(d + EncodeTime(7, 0, 0), 20, 8, day, secs);
    EXPECT_EQ(day, static_cast<int>(d));
    EXPECT_EQ(secs, 39600);
    TimelinePos(d + EncodeTime(20, 0, 0), 20, 8, day, secs);  // the boundary hour starts the next strip
    EXPECT_EQ(day, static_cast<int>(d) + 1);
    EXPECT_EQ(secs, 0);
}

TEST(TimelinePos, PlainWindow)
{
    const TDateTime d = EncodeDate(2026, 3, 10);
    int day = 0, secs = 0;
    TimelinePos(d + EncodeTime(13, 4, 5), 0, 23, day, secs);
    EXPECT_EQ(day, static_cast<int>(d));
    EXPECT_EQ(secs, 13 * 3600 + 4 * 60 + 5);
    TimelinePos(d + EncodeTime(6, 0, 0), 8, 20, day, secs);  // before the window: negative
    EXPECT_EQ(secs, -7200);
    TimelinePos(d + EncodeTime(23, 59, 59, 999) + 0.4 / 86400000.0, 0, 23, day, secs);
    EXPECT_EQ(day, static_cast<int>(d));
    EXPECT_EQ(secs, 86399);
}

TEST(AsciiCase, OnlyLettersChange)
{
    EXPECT_EQ(UpperCase("abz_AZ09\xe4"), "ABZ_AZ09\xe4");
    EXPECT_EQ(LowerCase("ABZ_az09\xc4"), "abz_az09\xc4");
    EXPECT_TRUE(SameText("T-Mail.CTL", "t-mail.ctl"));
    EXPECT_FALSE(SameText("a", "ab"));
    EXPECT_FALSE(SameText("@", "`"));  // neighbours of the letter ranges
    EXPECT_FALSE(SameText("[", "{"));
}
