#include <QtTest>

#include "app/qtsettingsstore.h"
#include "common/appsettings.h"
#include "common/colortext.h"
#include "common/grids.h"

using tarvex::TMemorySettings;

class TestSettingsStore : public QObject
{
    Q_OBJECT
private slots:
    void sectionNamesFromLogNamesNeverShareASection()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath("s.ini");
        const std::vector<std::string> names = {
            "a/b.SessList", "a\\b.SessList", "a%2Fb.SessList", "a b=c.SessList", "General", "general.x",
            "[Log1]", "\xd0\x9b\xd0\xbe\xd0\xb3", "\x8b\xae\xa3 cp866", "a\x01z", "#;comment"};
        {
            TQtSettingsStore reg(ini);
            for (std::size_t i = 0; i < names.size(); ++i)
                reg.WriteInteger(names[i], "Open", static_cast<long long>(i + 10));
            reg.WriteString("General", "NumLogs", "3");
        }
        TQtSettingsStore reg(ini);
        for (std::size_t i = 0; i < names.size(); ++i) {
            QVERIFY2(reg.SectionExists(names[i]), names[i].c_str());
            QCOMPARE(reg.ReadInteger(names[i], "Open", -1), static_cast<int>(i + 10));
        }
        QCOMPARE(reg.ReadInteger("General", "NumLogs", -1), 3);
        reg.EraseSection("a/b.SessList");
        QVERIFY(!reg.SectionExists("a/b.SessList"));
        QVERIFY(reg.SectionExists("a\\b.SessList"));
        QVERIFY(!reg.SectionExists("a"));
    }

    void valuesReadBackByteForByte()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath("v.ini");
        const std::string oem = "20 Jan 10:00 \x8f\xe0\xa8\xa2\xa5\xe2 \xff\x01";
        const std::string utf8 = "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82";
        {
            TQtSettingsStore reg(ini);
            reg.WriteString("Log1", "LastStr", oem);
            reg.WriteString("Log1", "Name", utf8);
            reg.WriteString("Log1", "Path", "@ByteArray(not really)");
            reg.WriteString("Log1", "Key/with\\slash", "x");
        }
        TQtSettingsStore reg(ini);
        QCOMPARE(reg.ReadString("Log1", "LastStr", ""), oem);
        QCOMPARE(reg.ReadString("Log1", "Name", ""), utf8);
        QCOMPARE(reg.ReadString("Log1", "Path", ""), std::string("@ByteArray(not really)"));
        const auto values = reg.ReadSection("Log1");
        QCOMPARE(values.size(), std::size_t(4));
        bool sawKey = false;
        for (const auto& [k, v] : values)
            sawKey |= k == "Key/with\\slash" && v == "x";
        QVERIFY(sawKey);
        QCOMPARE(reg.ReadString("Log1", "Missing", "def"), std::string("def"));
    }

    void fontValueRoundTripAndHeight()
    {
        TMemorySettings reg;
        TLogFontSetting a;
        a.Font = QFont("DejaVu Sans Mono", 13);
        a.Font.setBold(true);
        a.Font.setItalic(true);
        a.ColorText = "clNavy";
        a.Save(reg);
        QCOMPARE(QString::fromStdString(reg.ReadString("General", "LogFont", "")), QString("DejaVu Sans Mono,13,BI,0,clNavy"));
        TLogFontSetting b;
        b.Load(reg);
        QCOMPARE(b.Font.family(), QString("DejaVu Sans Mono"));
        QCOMPARE(b.Font.pointSize(), 13);
        QVERIFY(b.Font.bold() && b.Font.italic() && !b.Font.underline());
        QCOMPARE(b.ColorText, std::string("clNavy"));
        // A taller font makes taller rows.
        QFont big = b.Font;
        big.setPointSize(26);
        QVERIFY(FontHeight(big) > FontHeight(b.Font));
        QVERIFY(FontHeight(b.Font) > 0);
    }

    void colourTexts()
    {
        QCOMPARE(ColorToText(0x000000), std::string("clBlack"));
        QCOMPARE(ColorToText(0x0000FF), std::string("clRed"));
        QCOMPARE(ColorToText(0xC0C0C0), std::string("clSilver"));
        QCOMPARE(ColorToText(0x80000000), std::string("clScrollBar"));
        QCOMPARE(ColorToText(0x8000000F), std::string("clBtnFace"));
        QCOMPARE(ColorToText(0x80000018), std::string("clInfoBk"));
        QCOMPARE(ColorToText(0x80000019), std::string("$80000019"));
        QCOMPARE(ColorToText(0x00123456), std::string("$00123456"));
        std::uint32_t v = 0;
        QVERIFY(TextToColor("clfuchsia", v));
        QCOMPARE(v, 0xFF00FFu);
        QVERIFY(TextToColor("clWindowText", v));
        QCOMPARE(v, 0x80000008u);
        QVERIFY(TextToColor("$00FF8000", v));
        QCOMPARE(v, 0x00FF8000u);
        QVERIFY(TextToColor("255", v));
        QCOMPARE(v, 255u);
        QVERIFY(TextToColor("0x10", v));
        QCOMPARE(v, 16u);
        QVERIFY(!TextToColor("clNoSuch", v));
        QVERIFY(!TextToColor("$", v));
        QVERIFY(!TextToColor("$1FFFFFFFF", v));
        // Stored values are 0x00BBGGRR: red lives in the low byte.
        QCOMPARE(ColorOfValue(0x00FF8000), QColor(0x00, 0x80, 0xFF));
        QCOMPARE(ValueOfColor(QColor(0x12, 0x34, 0x56)), 0x00563412u);
    }
};

QTEST_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
