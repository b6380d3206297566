#include <QtTest>

#include "app/qtsettingsstore.h"
#include "guitestutil.h"
#include "host/qtinisettings.h"

// The command line reads the GUI's settings file without Qt: whatever the real store writes
// must read back the same, names and values byte for byte.
class TestQtIniSettings : public QObject
{
    Q_OBJECT
private slots:
    void everySectionAndValueReadsBackWithoutQt()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath("s.ini");
        const std::vector<std::string> sections = {
            "My station.SessList", "a/b.SessList", "a\\b.SessList", "a%2Fb.SessList", "a b=c.SessList",
            "General", "general.x", "[Log1]", "\xd0\x9b\xd0\xbe\xd0\xb3.SessList", "\x8b\xae\xa3 cp866.SessList",
            "a\x01z", "#;comment", "Log1"};
        const std::vector<std::string> values = {
            "", "plain", "a, b", " lead", "trail ", "semi;colon", "eq=ual", "quote\"s", "back\\slash",
            "tab\there", "line\r\nend", "@at", "@@two", "@ByteArray(not really)", "\x01" "1f digit",
            "\xd0\x9f\xd1\x80\xd0\xb8", "20 Jan \x8f\xe0\xa8\xa2\xa5\xe2 \xff\x01" "0", "C:\\TPL\\HEAD.TPL",
            "100", "0x1F"};
        {
            TQtSettingsStore reg(ini);
            for (const std::string& s : sections)
                for (std::size_t i = 0; i < values.size(); ++i)
                    reg.WriteString(s, "Value" + std::to_string(i), values[i]);
            reg.WriteString("Log1", "Key/with\\slash", "x");
        }
        const QByteArray bytes = ReadBytes(ini);
        tarvex::TMemorySettings mem;
        tarvex::ReadQtIniSettings(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), mem);
        for (const std::string& s : sections) {
            QVERIFY2(mem.SectionExists(s), s.c_str());
            for (std::size_t i = 0; i < values.size(); ++i) {
                std::string got;
                QVERIFY2(mem.ReadValue(s, "Value" + std::to_string(i), got), (s + " " + std::to_string(i)).c_str());
                QCOMPARE(got, values[i]);
            }
        }
        QCOMPARE(mem.ReadString("Log1", "Key/with\\slash", ""), std::string("x"));
    }

    void namesDecodeAsTheStoreEncodesThem()
    {
        for (const std::string name : {"a/b%c\\d", "\x8b\xae\xa3", "plain", "\xd0\x9b"})
            QCOMPARE(tarvex::DecodeSettingsName(TQtSettingsStore::EncodeName(name).toStdString()), name);
    }
};

QTEST_MAIN(TestQtIniSettings)
#include "tst_qtinisettings.moc"
