#include <QClipboard>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QRawFont>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <string>
#include <tuple>
#include <vector>

#include "base/linesplit.h"
#include "viewer/logfinddialog.h"
#include "viewer/logviewer.h"

namespace {

using Call = std::tuple<std::string, int, int>;

std::vector<std::string> SplitterLines(std::string_view text)
{
    std::vector<std::string> out;
    tarvex::LineSplitter split(text);
    std::string_view line;
    while (split.Next(line))
        out.emplace_back(line);
    return out;
}

QByteArray Bytes(std::string_view s)
{
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

struct Sel
{
    qint64 sl, sp, el, ep;
    bool operator==(const Sel&) const = default;
};

Sel SelectionOf(const LogViewer& v)
{
    Sel s{};
    v.GetSelection(s.sl, s.sp, s.el, s.ep);
    return s;
}

// Paints the viewer the way the screen would, so the colouring questions get asked.
QImage Render(LogViewer& v)
{
    v.show();  // lays the viewport out at the widget's size
    QImage img(v.viewport()->size(), QImage::Format_RGB32);
    v.viewport()->render(&img);
    return img;
}

// Which pixel columns of a row of lines hold anything but the background.
std::vector<bool> InkColumns(const QImage& img, int row, int lineHeight, QColor background)
{
    std::vector<bool> ink(static_cast<std::size_t>(img.width()));
    for (int y = row * lineHeight; y < (row + 1) * lineHeight; ++y)
        for (int x = 0; x < img.width(); ++x)
            ink[static_cast<std::size_t>(x)] = ink[static_cast<std::size_t>(x)] || img.pixel(x, y) != background.rgb();
    return ink;
}

}  // namespace

class TestLogViewer : public QObject
{
    Q_OBJECT
private slots:
    void linesAreTheAnalysisLines()
    {
        const std::vector<std::string> cases = {
            "", "\n", "a", "a\r\nb\nc", "one\r\ntwo\n\n\nfour\rfour\r\n", std::string("x\0y\n\0\n", 6),
            "ends with lone CR\r", "\r\n\r\n"};
        LogViewer v;
        for (const auto& text : cases) {
            v.SetText(text);
            const auto want = SplitterLines(text);
            QCOMPARE(v.LineCount(), qint64(want.size()));
            for (std::size_t i = 0; i < want.size(); ++i)
                QCOMPARE(std::string(v.LineBytes(qint64(i) + 1)), want[i]);
            QCOMPARE(std::string(v.Bytes()), text);
        }
        v.SetText(std::string_view("first\nsecond\nthird"));
        QCOMPARE(v.LineBytes(0), std::string_view("first"));    // below 1: line 1
        QCOMPARE(v.LineBytes(-5), std::string_view("first"));
        QCOMPARE(v.LineBytes(99), std::string_view("third"));   // past the end: the last line
        QCOMPARE(v.LineText(2), QString("second"));
    }

    void selectionAndDeletionAtTheEdges()
    {
        LogViewer v;
        v.resize(400, 300);
        // Empty text: everything is line 1, position 0, and deleting does nothing.
        v.SetSelection(3, 4, 5, 6);
        QCOMPARE(SelectionOf(v), (Sel{1, 0, 1, 0}));
        v.DeleteSelection();
        QCOMPARE(v.LineCount(), qint64(0));

        v.SetText(std::string_view("aa\r\nbbb\nc\r\ndddd"));
        // Reversed ends come back ordered; positions past the line end are the end.
        v.SetSelection(3, 1, 2, 99);
        QCOMPARE(SelectionOf(v), (Sel{2, 3, 3, 1}));
        QCOMPARE(std::string(v.SelectedBytes()), std::string("\nc"));
        v.SetSelection(2, 1, 3, 1);
        QCOMPARE(std::string(v.SelectedBytes()), std::string("bb\nc"));

        // Line 1 position 0 to line 3 position 0 removes lines 1 and 2.
        v.SetSelection(1, 0, 3, 0);
        QSignalSpy changed(&v, &LogViewer::TextChanged);
        v.DeleteSelection();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(v.LineCount(), qint64(2));
        QCOMPARE(std::string(v.Bytes()), std::string("c\r\ndddd"));
        QCOMPARE(SelectionOf(v), (Sel{1, 0, 1, 0}));

        // Inside the last line, to its end.
        v.SetSelection(2, 1, 2, 4);
        v.DeleteSelection();
        QCOMPARE(std::string(v.Bytes()), std::string("c\r\nd"));
        QCOMPARE(SelectionOf(v), (Sel{2, 1, 2, 1}));

        // The last line's terminator stays when everything up to the last line's end goes.
        v.SetText(std::string_view("x\ny\n"));
        v.SetSelection(1, 0, 2, 1);
        v.DeleteSelection();
        QCOMPARE(std::string(v.Bytes()), std::string("\n"));
        QCOMPARE(v.LineCount(), qint64(1));

        v.SetText(std::string_view("x\ny\n"));
        v.SelectAll();
        QCOMPARE(SelectionOf(v), (Sel{1, 0, 2, 1}));
    }

    void saveIsByteExactAfterATopCut()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath("mailer.log");
        std::string text;
        for (int i = 1; i <= 3000; ++i)
            text += "line " + std::to_string(i) + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\rcr\n");
        text += std::string("\0\0 tail without end\r", 20);
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(Bytes(text));
        }
        LogViewer v;
        QString error;
        QVERIFY(v.LoadFromFile(path, &error));
        QCOMPARE(v.LineCount(), qint64(3001));
        QCOMPARE(v.LineBytes(2), std::string_view("line 2\rcr"));

        v.hide();
        v.SetSelection(1, 0, 2501, 0);
        v.DeleteSelection();
        v.show();
        QCOMPARE(v.LineCount(), qint64(501));
        QCOMPARE(v.LineBytes(1), std::string_view("line 2501\rcr"));
        QVERIFY2(v.SaveToFile(path, &error), qPrintable(error));

        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const std::size_t cut = text.find("line 2501\r");
        QCOMPARE(f.readAll(), Bytes(std::string_view(text).substr(cut)));

        QVERIFY(!v.SaveToFile(dir.path(), &error));  // a directory cannot be written
        QVERIFY(!error.isEmpty());
        QVERIFY(!v.LoadFromFile(dir.filePath("missing.log"), &error));
        QVERIFY(error.contains("Cannot open"));
        QCOMPARE(v.LineCount(), qint64(501));  // a failed load keeps the text

        // A text loaded anew starts at its top; one loaded in place keeps where a question put
        // the view while it grew.
        v.SetCaretLine(400);
        QVERIFY(v.LoadFromFile(path, &error));
        QCOMPARE(v.CaretLine(), qint64(1));
        QCOMPARE(v.FirstVisibleLine(), qint64(1));
        tarvex::LogText::LoadSink sink;
        sink.Piece = [&v](std::string_view) { v.SetCaretLine(300); };
        QVERIFY(v.LoadFromFileInPlace(path, &error, {}, sink));
        QCOMPARE(v.LineCount(), qint64(501));
        QCOMPARE(v.CaretLine(), qint64(300));
    }

    void colourQuestionsComeInOrderWithRawBytes()
    {
        LogViewer v;
        v.resize(600, 200);
        v.SetCodePage("IBM866");
        // Two blanks, a tab inside a word, a code-page byte (0x80, Cyrillic A in 866).
        v.SetText(std::string_view("12 Jan 10:11:12  a\tb \x80q  end\nsecond  line\n\nlast"));
        std::vector<Call> calls;
        v.SetWordColorCallback([&](std::string_view w, int line, int col) {
            calls.emplace_back(std::string(w), line, col);
            return LogViewer::ClrNormal;
        });
        Render(v);
        QVERIFY(calls.empty());  // highlight is off by default

        v.SetHighlight(true);
        Render(v);
        const std::vector<Call> want = {
            {"12", 1, 0}, {"Jan", 1, 3}, {"10:11:12", 1, 7}, {"a\tb", 1, 17}, {"\x80q", 1, 21},
            {"end", 1, 25}, {"second", 2, 0}, {"line", 2, 8}, {"last", 4, 0}};
        QCOMPARE(calls, want);
        QCOMPARE(v.LineText(1).mid(21, 2), QString::fromUtf8("Аq"));

        // Only the lines on screen are asked about.
        std::string many;
        for (int i = 0; i < 1000; ++i)
            many += "w" + std::to_string(i) + "\n";
        v.SetText(many);
        v.SetFirstVisibleLine(500);
        calls.clear();
        Render(v);
        QVERIFY(!calls.empty());
        QVERIFY(int(calls.size()) <= v.VisibleLineCount() + 1);
        QCOMPARE(std::get<0>(calls.front()), std::string("w499"));
        QCOMPARE(std::get<1>(calls.front()), 500);
    }

    void coloursShownAreThoseReturned()
    {
        LogViewer v;
        v.resize(400, 100);
        LogViewer::ColorTable colors = v.Colors();
        colors[LogViewer::ClrNormal] = Qt::black;
        colors[LogViewer::ClrBackground] = Qt::white;
        colors[LogViewer::ClrErrors] = QColor(255, 0, 0);
        v.SetColors(colors);
        v.SetText(std::string_view("MMMM MMMM"));
        v.SetHighlight(true);
        v.SetWordColorCallback([](std::string_view, int, int col) {
            return col == 5 ? LogViewer::ClrErrors : LogViewer::ClrNormal;
        });
        const QImage img = Render(v);
        const int cw = v.CharWidthPx();
        auto countRed = [&](int col0, int col1) {
            int red = 0;
            for (int y = 0; y < v.LineHeightPx(); ++y)
                for (int x = 2 + col0 * cw; x < 2 + col1 * cw; ++x)
                    red += img.pixelColor(x, y) == QColor(255, 0, 0);
            return red;
        };
        QCOMPARE(countRed(0, 4), 0);
        QVERIFY(countRed(5, 9) > 0);
        QCOMPARE(img.pixelColor(img.width() - 1, img.height() - 1), QColor(Qt::white));
    }

    void findWithAndWithoutCaseUpAndDown()
    {
        LogViewer v;
        v.resize(400, 200);
        v.SetText(std::string_view("ERROR one\nnothing\nan error two\nError three\n"));
        QVERIFY(v.FindFirst("error"));
        QCOMPARE(SelectionOf(v), (Sel{3, 3, 3, 8}));
        QVERIFY(v.FindFirst("error", false));
        QCOMPARE(SelectionOf(v), (Sel{1, 0, 1, 5}));
        QVERIFY(v.FindNext("error", false, true));
        QCOMPARE(SelectionOf(v), (Sel{3, 3, 3, 8}));
        QVERIFY(v.FindNext("error", false, true));
        QCOMPARE(SelectionOf(v), (Sel{4, 0, 4, 5}));
        QVERIFY(!v.FindNext("error", false, true));  // no wrap; the selection stays
        QCOMPARE(SelectionOf(v), (Sel{4, 0, 4, 5}));
        QVERIFY(v.FindNext("error", false, false));
        QCOMPARE(SelectionOf(v), (Sel{3, 3, 3, 8}));
        QVERIFY(!v.FindNext("ERROR", true, true));
        QVERIFY(v.FindNext("ERROR", true, false));
        QCOMPARE(SelectionOf(v), (Sel{1, 0, 1, 5}));
        QVERIFY(!v.FindFirst("absent"));
        QVERIFY(!v.FindFirst(""));

        // F3 repeats the last search.
        v.SetCaretLine(1);
        QVERIFY(v.FindFirst("error", false));
        QTest::keyClick(&v, Qt::Key_F3);
        QCOMPARE(SelectionOf(v), (Sel{3, 3, 3, 8}));

        // Case follows the code page's letters: Cyrillic in IBM866.
        v.SetCodePage("IBM866");
        v.SetText(std::string_view("x \x8f\xe0\xa8\xa2\xa5\xe2 y\n"));  // "Привет" in 866
        QVERIFY(v.FindFirst(QString::fromUtf8("привет"), false));
        QCOMPARE(SelectionOf(v), (Sel{1, 2, 1, 8}));
        QVERIFY(!v.FindFirst(QString::fromUtf8("привет"), true));
        QVERIFY(!v.SetCodePage("no-such-code-page"));
        QCOMPARE(v.CodePage(), QString("IBM866"));
    }

    void findDialogFindsAndReportsFailure()
    {
        LogViewer v;
        v.resize(400, 200);
        v.SetText(std::string_view("alpha\nbeta\nalpha\n"));
        v.ShowFindDialog();
        auto* dlg = v.findChild<LogFindDialog*>("FindDialog");
        QVERIFY(dlg);
        QVERIFY(dlg->isVisible());
        dlg->SetText("alpha");
        emit dlg->FindNextRequested();
        QCOMPARE(SelectionOf(v), (Sel{1, 0, 1, 5}));
        emit dlg->FindNextRequested();
        QCOMPARE(SelectionOf(v), (Sel{3, 0, 3, 5}));
        emit dlg->FindNextRequested();
        QCOMPARE(dlg->findChild<QLabel*>("LblMessage")->text(), QString("Cannot find \"alpha\""));
        dlg->SetDown(false);
        emit dlg->FindNextRequested();
        QCOMPARE(SelectionOf(v), (Sel{1, 0, 1, 5}));
    }

    void charactersAreDrawnInTheirColumnsColouredOrNot()
    {
        // The default fixed font advances by fractions of a pixel; a fixed font without the
        // square, where there is one, draws it from a fallback font of another width.
        std::vector<QFont> fonts = {QFontDatabase::systemFont(QFontDatabase::FixedFont)};
        for (const QString& family : QFontDatabase::families())
            if (QFontDatabase::isFixedPitch(family) && !QRawFont::fromFont(QFont(family, 10)).supportsCharacter(QChar(0x25A0))) {
                fonts.emplace_back(family, 10);
                break;
            }
        for (const QFont& font : fonts)
            for (const char* page : {"IBM866", "UTF-8"}) {
                const std::string square = page == std::string("UTF-8") ? "\xE2\x96\xA0" : "\xFE";
                const std::string bars = "|" + std::string(square.size(), ' ') + "    |||              | |";
                std::string withSquare = bars;
                withSquare.replace(1, square.size(), square);
                const std::string call = "01/03 00:03:08 " + square + " Incoming call, CONNECT 14400/V42b";
                LogViewer v;
                v.resize(700, 200);
                v.SetCodePage(page);
                v.SetLogFont(font);
                v.SetText(call + "\n" + bars + "\n" + withSquare + "\n");
                int words = 0;
                v.SetWordColorCallback([&](std::string_view, int, int) { return ++words % 5 + 1; });
                const std::size_t from = call.find("Incoming");
                v.SetSelection(1, qint64(from), 1, qint64(from + 8));
                const int cw = v.CharWidthPx(), lh = v.LineHeightPx();
                const QColor bg = v.BackgroundColor();
                QImage shot[2];
                for (const bool on : {false, true}) {
                    const QString what = font.family() + " " + page + (on ? " coloured" : " plain");
                    v.SetHighlight(on);
                    shot[on] = Render(v);
                    // Every bar lies a whole number of cells right of the first one.
                    const std::vector<bool> ink = InkColumns(shot[on], 1, lh, bg);
                    const auto first = std::find(ink.begin(), ink.end(), true) - ink.begin();
                    QVERIFY(first + cw < std::ptrdiff_t(ink.size()));
                    std::vector<bool> want(ink.size());
                    for (std::size_t col = 0; col < bars.size(); ++col) {
                        if (bars[col] != '|')
                            continue;
                        for (auto x = std::size_t(first); x < std::size_t(first + cw / 2); ++x)
                            if (ink[x] && x + col * std::size_t(cw) < want.size())
                                want[x + col * std::size_t(cw)] = true;
                    }
                    QVERIFY2(ink == want, qPrintable(what));
                    // The square shows and moves nothing after it.
                    const std::vector<bool> inkSquare = InkColumns(shot[on], 2, lh, bg);
                    const auto after = first + std::ptrdiff_t(square.size() + 3) * cw;
                    QVERIFY2(std::find(inkSquare.begin() + first + 1, inkSquare.begin() + after, true) != inkSquare.begin() + after, qPrintable(what));
                    QVERIFY2(std::equal(ink.begin() + after, ink.end(), inkSquare.begin() + after), qPrintable(what));
                    // A double click on a bar picks that bar.
                    const auto col = int(bars.size()) - 3;
                    QTest::mouseDClick(v.viewport(), Qt::LeftButton, {}, QPoint(int(first) + col * cw, lh + lh / 2));
                    QCOMPARE(SelectionOf(v), (Sel{2, col, 2, col + 1}));
                    v.SetSelection(1, qint64(from), 1, qint64(from + 8));
                }
                for (int row = 0; row < 3; ++row)
                    QVERIFY(InkColumns(shot[0], row, lh, bg) == InkColumns(shot[1], row, lh, bg));
                // The selected word, drawn once, looks the same coloured or not.
                QRect selected;
                for (int y = 0; y < lh; ++y)
                    for (int x = 0; x < shot[0].width(); ++x)
                        if (shot[0].pixel(x, y) == v.palette().color(QPalette::Highlight).rgb())
                            selected |= QRect(x, y, 1, 1);
                QVERIFY(selected.width() >= 8 * cw - 1);
                QCOMPARE(shot[1].copy(selected), shot[0].copy(selected));
            }
    }

    void hostileTextDrawsAndSearches()
    {
        LogViewer v;
        v.resize(500, 300);
        std::string text(1000, '\0');
        text += "\nbefore\n";
        text += std::string(5u << 20, 'x');  // one word of 5 MB
        text += "needle\nafter \xff\xfe\x01\x1b[0m\n";
        v.SetText(text);
        QCOMPARE(v.LineCount(), qint64(4));
        std::vector<std::size_t> sizes;
        v.SetHighlight(true);
        v.SetWordColorCallback([&](std::string_view w, int, int) {
            sizes.push_back(w.size());
            return 99;  // out of range: drawn as normal text
        });
        Render(v);
        // The NUL line is one word; the huge word is handed over only as far as it is drawn.
        QCOMPARE(sizes, (std::vector<std::size_t>{1000, 6, LogViewer::DrawLimit, 5, 7}));
        QVERIFY(v.FindFirstBytes(std::string_view("\0\0\0", 3)));
        QCOMPARE(SelectionOf(v), (Sel{1, 0, 1, 3}));
        QVERIFY(v.FindFirst("needle"));
        QCOMPARE(SelectionOf(v), (Sel{3, qint64(5u << 20), 3, qint64(5u << 20) + 6}));
        v.SetFirstVisibleColumn(1 << 20);
        Render(v);
        v.SetCaretLine(3);
        QTest::keyClick(&v, Qt::Key_End);
        QCOMPARE(v.CaretPos(), qint64(5u << 20) + 6);
        Render(v);
    }

    void keysAreReportedAndMoveTheCaret()
    {
        LogViewer v;
        v.resize(400, 10 * 20);
        std::string text;
        for (int i = 1; i <= 100; ++i)
            text += "line " + std::to_string(i) + "\n";
        v.SetText(text);
        v.show();
        QSignalSpy keys(&v, &LogViewer::KeyPressed);

        // (The Shift key itself is reported first, as a keyboard would.)
        QTest::keyClick(&v, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(keys.count(), 2);
        QCOMPARE(keys.at(0).at(0).toInt(), int(Qt::Key_Shift));
        QCOMPARE(keys.at(1).at(0).toInt(), int(Qt::Key_Down));
        QCOMPARE(keys.at(1).at(1).value<Qt::KeyboardModifiers>(), Qt::KeyboardModifiers(Qt::ShiftModifier));
        QCOMPARE(SelectionOf(v), (Sel{1, 0, 2, 0}));

        QTest::keyClick(&v, Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(SelectionOf(v), (Sel{1, 0, 2, 6}));
        QTest::keyClick(&v, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("line 1\nline 2"));

        // Alt keys belong to the owner: reported, but the caret stays.
        QTest::keyClick(&v, Qt::Key_Up, Qt::AltModifier | Qt::ShiftModifier);
        QCOMPARE(keys.last().at(1).value<Qt::KeyboardModifiers>(),
                 Qt::KeyboardModifiers(Qt::AltModifier | Qt::ShiftModifier));
        QCOMPARE(v.CaretLine(), qint64(2));

        QTest::keyClick(&v, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(v.CaretLine(), qint64(100));
        QCOMPARE(SelectionOf(v), (Sel{100, 8, 100, 8}));
        QVERIFY(v.FirstVisibleLine() + v.VisibleLineCount() > 100);
        QTest::keyClick(&v, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(v.CaretLine(), qint64(1));
        QCOMPARE(v.FirstVisibleLine(), qint64(1));
        QTest::keyClick(&v, Qt::Key_PageDown);
        QCOMPARE(v.CaretLine(), qint64(1 + v.VisibleLineCount()));
        QTest::keyClick(&v, Qt::Key_Right);
        QTest::keyClick(&v, Qt::Key_Left);
        QTest::keyClick(&v, Qt::Key_Left);  // to the end of the line above
        QCOMPARE(v.CaretLine(), qint64(v.VisibleLineCount()));
        QCOMPARE(v.CaretPos(), qint64(std::to_string(v.VisibleLineCount()).size() + 5));

        QTest::keyClick(&v, Qt::Key_F5);
        QCOMPARE(keys.last().at(0).toInt(), int(Qt::Key_F5));
        QCOMPARE(keys.last().at(1).value<Qt::KeyboardModifiers>(), Qt::KeyboardModifiers(Qt::NoModifier));
    }

    void mouseClicksSelectAndReport()
    {
        LogViewer v;
        v.resize(400, 200);
        v.SetText(std::string_view("0123456789\nabc\tdef\n"));
        v.show();
        QSignalSpy clicks(&v, &LogViewer::MouseClicked);
        const int cw = v.CharWidthPx(), lh = v.LineHeightPx();
        auto at = [&](int col, int row) { return QPoint(2 + col * cw + 1, row * lh + lh / 2); };
        QTest::mouseClick(v.viewport(), Qt::LeftButton, Qt::NoModifier, at(4, 0));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.at(0).at(1).toLongLong(), qint64(1));
        QCOMPARE(clicks.at(0).at(2).toLongLong(), qint64(4));
        // Behind the tab (columns 3..7 hold it), column 8 is the byte 'd' at position 4.
        QTest::mouseClick(v.viewport(), Qt::LeftButton, Qt::ShiftModifier, at(8, 1));
        QCOMPARE(SelectionOf(v), (Sel{1, 4, 2, 4}));
        QCOMPARE(clicks.last().at(3).value<Qt::KeyboardModifiers>(), Qt::KeyboardModifiers(Qt::ShiftModifier));

        QTest::mousePress(v.viewport(), Qt::LeftButton, Qt::NoModifier, at(1, 0));
        QMouseEvent move(QEvent::MouseMove, at(6, 0), v.viewport()->mapToGlobal(at(6, 0)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(v.viewport(), &move);
        QTest::mouseRelease(v.viewport(), Qt::LeftButton, Qt::NoModifier, at(6, 0));
        QCOMPARE(SelectionOf(v), (Sel{1, 1, 1, 6}));
        QCOMPARE(std::string(v.SelectedBytes()), std::string("12345"));
    }

    void firstVisibleLineAndCaretLine()
    {
        LogViewer v;
        v.resize(300, 200);
        std::string text;
        for (int i = 0; i < 1000; ++i)
            text += "l\n";
        v.SetText(text);
        const qint64 page = v.VisibleLineCount();
        v.SetFirstVisibleLine(400);
        QCOMPARE(v.FirstVisibleLine(), qint64(400));
        QCOMPARE(v.CaretLine(), qint64(1));  // scrolling leaves the caret
        v.SetFirstVisibleLine(5000);
        QCOMPARE(v.FirstVisibleLine(), 1000 - page + 1);
        v.SetFirstVisibleLine(-3);
        QCOMPARE(v.FirstVisibleLine(), qint64(1));
        v.SetCaretLine(700);
        QCOMPARE(v.CaretLine(), qint64(700));
        QVERIFY(v.FirstVisibleLine() <= 700 && 700 < v.FirstVisibleLine() + page);
        QCOMPARE(SelectionOf(v), (Sel{700, 0, 700, 0}));
        v.verticalScrollBar()->setValue(10);
        QCOMPARE(v.FirstVisibleLine(), qint64(11));
    }

    void contextMenuIsTheOwners()
    {
        LogViewer v;
        QMenu menu;
        menu.addAction("&Close");
        v.SetContextMenu(&menu);
        QSignalSpy spy(&v, &LogViewer::ContextMenuRequested);
        QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(50, 50));
        QApplication::sendEvent(v.viewport(), &ev);
        QCOMPARE(spy.count(), 1);
        QTRY_VERIFY(menu.isVisible());
        menu.hide();
    }

    // A log read on demand paints, finds and copies as the same bytes in memory do, across the
    // borders of the blocks it is read in; cut short under the viewer it shows what is left.
    void onDemandTextAcrossBlocksAndTruncated()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("blocks.log");
        std::string text;
        for (int i = 0; text.size() < 300000; ++i)
            text += "12:00:" + std::to_string(i % 60) + " Session with 2:5020/" + std::to_string(i) + "\n";
        text.replace(65536 - 4, 8, "FINDme!!");
        auto write = [&](std::string_view bytes) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(Bytes(bytes));
        };
        write(text);
        LogViewer file, memory;
        QVERIFY(file.LoadFromFile(path));
        memory.SetText(text);
        QVERIFY(file.Model().OnDemand());
        for (LogViewer* v : {&file, &memory}) {
            v->resize(400, 300);
            QVERIFY(v->FindFirst("findME!!", false));
            v->CopyToClipboard();
            QCOMPARE(QGuiApplication::clipboard()->text(), QString("FINDme!!"));
            // A selection over a block border, a few lines either side of it.
            qint64 sl, sp, el, ep;
            v->GetSelection(sl, sp, el, ep);
            v->SetSelection(sl - 3, 2, sl + 3, 4);
            v->SetFirstVisibleLine(sl - 5);
        }
        QCOMPARE(file.SelectedBytes(), memory.SelectedBytes());
        QCOMPARE(Render(file), Render(memory));

        write(std::string_view(text).substr(0, 65536 + 20));
        file.SetFirstVisibleLine(file.LineCount() - 5);
        (void)Render(file);  // past the end: empty lines, no read past a buffer
        QVERIFY(file.Model().FileShrank());
        QVERIFY(!file.FindNext("Session with 2:5020/5000", true, true));
        file.SelectAll();
        QCOMPARE(file.SelectedBytes(), text.substr(0, 65536 + 20));
    }
};

QTEST_MAIN(TestLogViewer)
#include "tst_logviewer.moc"
