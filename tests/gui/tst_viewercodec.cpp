#include <QtTest>

#include "common/appsettings.h"
#include "viewer/logviewer.h"
#include "viewer/viewercodec.h"

namespace {

QString Decoded(const char* page, std::string_view bytes)
{
    ViewerCodec c;
    if (!c.SetCodePage(page))
        return "<unknown>";
    return c.Decode(bytes);
}

}  // namespace

// The code pages of mailer logs come from the toolkit's decoders, by name.
class TestViewerCodec : public QObject
{
    Q_OBJECT
private slots:
    void dosAndWindowsCodePagesByteForByte()
    {
        QCOMPARE(Decoded("IBM866", "\x8f\xe0\xa8\xa2\xa5\xe2"), QString::fromUtf8("Привет"));
        QCOMPARE(Decoded("cp866", "\x8f\xe0\xa8\xa2\xa5\xe2"), QString::fromUtf8("Привет"));
        QCOMPARE(Decoded("windows-1251", "\xcf\xf0\xe8\xe2\xe5\xf2"), QString::fromUtf8("Привет"));
        QCOMPARE(Decoded("KOI8-R", "\xf0\xd2\xc9\xd7\xc5\xd4"), QString::fromUtf8("Привет"));
        QCOMPARE(Decoded("IBM437", "caf\x82 \xc9\xcd\xbb"), QString::fromUtf8("café ╔═╗"));
        QCOMPARE(Decoded("IBM850", "caf\x82 \xd0"), QString::fromUtf8("café ð"));
        QCOMPARE(Decoded("ISO-8859-1", "caf\xe9"), QString::fromUtf8("café"));
        for (const char* page : {"IBM866", "IBM437", "IBM850", "KOI8-R", "windows-1251", "ISO-8859-1"}) {
            ViewerCodec c;
            QVERIFY2(c.SetCodePage(page), page);
            QVERIFY2(c.IsSingleByte(), page);
            // Every byte is one character: columns stay byte columns.
            std::string all;
            for (int b = 0; b < 256; ++b)
                all.push_back(static_cast<char>(b));
            QCOMPARE(c.Decode(all).size(), qsizetype(256));
            QCOMPARE(c.DisplayChar(0), QChar(0x00B7));  // control bytes drawn as a mark
        }
    }

    void foldAndEncodeFollowTheCodePage()
    {
        ViewerCodec c;
        QVERIFY(c.SetCodePage("IBM866"));
        QCOMPARE(c.Fold()[0x8f], c.Fold()[0xaf]);  // П and п
        QVERIFY(c.Fold()[0x8f] != c.Fold()[0x8e]);
        std::string bytes;
        QVERIFY(c.Encode(QString::fromUtf8("Привет"), bytes));
        QCOMPARE(bytes, std::string("\x8f\xe0\xa8\xa2\xa5\xe2"));
        QVERIFY(!c.Encode(QString::fromUtf8("€"), bytes));
    }

    void multiByteEncodingsAreNotTakenByteForByte()
    {
        ViewerCodec c;
        QVERIFY(c.SetCodePage("UTF-8"));
        QVERIFY(!c.IsSingleByte());
        QCOMPARE(c.Decode("\xd0\x9f\xd1\x80"), QString::fromUtf8("Пр"));
    }

    void unknownNamesAreRefused()
    {
        ViewerCodec c;
        QVERIFY(c.SetCodePage("IBM866"));
        QVERIFY(!c.SetCodePage("no-such-code-page"));
        QVERIFY(!c.SetCodePage(""));
        QCOMPARE(c.CodePage(), QString("IBM866"));
        QVERIFY(!ViewerCodec::IsKnown("no-such-code-page"));
        QVERIFY(ViewerCodec::IsKnown("IBM866"));
    }

    void unknownSettingsFallBackAndTheViewerShowsText()
    {
        TAppSettings s;
        s.OEMCodePage = "no-such-oem-page";
        s.ANSICodePage = "no-such-ansi-page";
        QCOMPARE(s.OEMPage(), std::string("IBM866"));
        QCOMPARE(s.ANSIPage(), std::string("windows-1251"));
        s.OEMConvert = true;
        QCOMPARE(s.DisplayCodePage(), std::string("IBM866"));
        QCOMPARE(s.OEMCodePage, std::string("no-such-oem-page"));  // kept as the user wrote it

        LogViewer v;
        QVERIFY(v.SetCodePage(QString::fromStdString(s.DisplayCodePage())));
        v.SetText(std::string_view("10:00 \x8f\xe0\xa8\xa2\xa5\xe2\n"));
        QCOMPARE(v.LineText(1), QString::fromUtf8("10:00 Привет"));
    }
};

QTEST_MAIN(TestViewerCodec)
#include "tst_viewercodec.moc"
