#include "viewer/logviewer.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <algorithm>
#include <climits>
#include <new>
#include <cstring>

#include "log/bytefind.h"
#include "platform/sharedfile.h"
#include "viewer/logfinddialog.h"

namespace {

std::size_t U(qint64 v)
{
    return static_cast<std::size_t>(std::max<qint64>(v, 0));
}

qint64 S(std::size_t v)
{
    return static_cast<qint64>(v);
}

int TabWidth(int col)
{
    return 8 - col % 8;
}

int ClampInt(qint64 v)
{
    return static_cast<int>(std::clamp<qint64>(v, 0, INT_MAX / 2));
}

std::string NativePath(const QString& path)
{
#ifdef _WIN32
    return path.toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

}  // namespace

LogViewer::LogViewer(QWidget* parent) : QAbstractScrollArea(parent)
{
    ColorItems = {QColor(0x00, 0x00, 0x00), QColor(0x00, 0x00, 0xFF), QColor(0xFF, 0x00, 0x00),
                  QColor(0x00, 0x80, 0x00), QColor(0x80, 0x80, 0x00), QColor(0x00, 0x80, 0x80),
                  QColor(0xC0, 0xC0, 0xC0), QColor(0x00, 0x80, 0x00), QColor(0x00, 0x00, 0xFF),
                  QColor(0xFF, 0x00, 0xFF), QColor(0xFF, 0x00, 0x00)};
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    UpdateMetrics();
    UpdateScrollBars();
}

LogViewer::~LogViewer() = default;

// ---------------------------------------------------------------------------------------------
// Text

bool LogViewer::LoadFromFile(const QString& path, QString* error, const tarvex::LogText::LoadProgress& progress)
{
    std::string why;
    if (!Text.LoadFile(NativePath(path), why, progress)) {
        if (error)
            *error = QString::fromStdString(why);
        return false;
    }
    TextReplaced();
    return true;
}

bool LogViewer::LoadFromFileInPlace(const QString& path, QString* error, const tarvex::LogText::LoadProgress& progress,
                                    const tarvex::LogText::LoadSink& sink)
{
    tarvex::LogText::LoadSink mine;
    qint64 shown = 0;  // the lines there were before the piece
    mine.Start = [&] {
        TextReplaced();
        shown = 0;
        if (sink.Start)
            sink.Start();
    };
    mine.Piece = [&](std::string_view piece) {
        TextGrew(shown);
        shown = LineCount();
        if (sink.Piece)
            sink.Piece(piece);
    };
    std::string why;
    if (!Text.LoadFileInPlace(NativePath(path), why, progress, mine)) {
        if (error)
            *error = QString::fromStdString(why);
        if (Text.LineCount() == 0)
            TextReplaced();
        return false;
    }
    return true;
}

void LogViewer::TextGrew(qint64 linesBefore)
{
    // The view's lines are where they were; the caret, the view or the selection a paint or a
    // question moved meanwhile stay too. Only the lines from the old last one on changed: a
    // screen already full is not painted again for lines below it.
    UpdateScrollBars();
    if (std::max<qint64>(0, linesBefore - 1) < First + VisibleLineCount())
        viewport()->update();
    emit TextChanged();
}

void LogViewer::SetText(std::string_view bytes)
{
    Text.Assign(bytes);
    TextReplaced();
}

void LogViewer::SetText(const QByteArray& bytes)
{
    SetText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void LogViewer::Clear()
{
    Text.Clear();
    TextReplaced();
}

bool LogViewer::AtEnd() const
{
    return Anchor == Caret && Caret.Line >= LineCount() - 1;
}

bool LogViewer::AppendText(std::string_view bytes)
{
    if (bytes.empty())
        return true;
    const bool follow = AtEnd();
    const qint64 lastBefore = std::max<qint64>(0, LineCount() - 1);
    try {
        Text.Append(bytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (follow) {
        Anchor = Caret = Clamp(LineCount() - 1, 0);
        GoalPos = 0;
        EnsureVisible(Caret);
        emit SelectionChanged();
    } else {
        UpdateScrollBars();
    }
    // Only the lines from the old last one on changed; nothing to paint when none is on screen.
    if (follow || lastBefore < First + VisibleLineCount())
        viewport()->update();
    emit TextChanged();
    return true;
}

void LogViewer::TextReplaced()
{
    Anchor = Caret = TextPos{};
    GoalPos = 0;
    First = 0;
    FirstCol = 0;
    UpdateScrollBars();
    viewport()->update();
    emit TextChanged();
    emit SelectionChanged();
}

std::string_view LogViewer::LineBytes(qint64 n) const
{
    if (Text.LineCount() == 0)
        return {};
    return Text.Line(U(std::clamp<qint64>(n, 1, LineCount()) - 1));
}

QString LogViewer::LineText(qint64 n) const
{
    return Codec.Decode(LineBytes(n));
}

bool LogViewer::SaveToFile(const QString& path, QString* error) const
{
    std::string why;
    // Taken whole first: the file written may be the one the text is read from.
    if (!tarvex::RewriteFileBytes(NativePath(path), Text.Bytes(), why)) {
        if (error)
            *error = QString::fromStdString(why);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Positions and selection

LogViewer::TextPos LogViewer::Clamp(qint64 line0, qint64 pos) const
{
    const qint64 count = LineCount();
    if (count == 0)
        return {};
    TextPos p;
    p.Line = std::clamp<qint64>(line0, 0, count - 1);
    p.Pos = std::clamp<qint64>(pos, 0, S(Text.LineLength(U(p.Line))));
    return p;
}

std::size_t LogViewer::Offset(const TextPos& p) const
{
    return Text.LineStart(U(p.Line)) + U(p.Pos);
}

LogViewer::TextPos LogViewer::PosOfOffset(std::size_t offset) const
{
    const std::size_t line = Text.LineAt(offset);
    return Clamp(S(line), S(offset) - S(Text.LineStart(line)));
}

void LogViewer::GetSelection(qint64& startLine, qint64& startPos, qint64& endLine, qint64& endPos) const
{
    const TextPos& s = std::min(Anchor, Caret);
    const TextPos& e = std::max(Anchor, Caret);
    startLine = s.Line + 1;
    startPos = s.Pos;
    endLine = e.Line + 1;
    endPos = e.Pos;
}

void LogViewer::SetSelection(qint64 startLine, qint64 startPos, qint64 endLine, qint64 endPos)
{
    Anchor = Clamp(startLine - 1, startPos);
    Caret = Clamp(endLine - 1, endPos);
    GoalPos = Caret.Pos;
    viewport()->update();
    emit SelectionChanged();
}

bool LogViewer::HasSelection() const
{
    return !(Anchor == Caret);
}

std::string LogViewer::SelectedBytes() const
{
    return Text.ReadRange(Offset(std::min(Anchor, Caret)), Offset(std::max(Anchor, Caret)));
}

void LogViewer::DeleteSelection()
{
    if (!HasSelection())
        return;
    const std::size_t a = Offset(std::min(Anchor, Caret));
    const std::size_t b = Offset(std::max(Anchor, Caret));
    Text.Erase(a, b);
    Anchor = Caret = PosOfOffset(a);
    GoalPos = Caret.Pos;
    First = std::min(First, MaxFirst());
    UpdateScrollBars();
    viewport()->update();
    emit TextChanged();
    emit SelectionChanged();
}

void LogViewer::FileHeadCut(std::size_t dropped)
{
    Text.FileHeadCut(dropped);
    TextReplaced();
}

void LogViewer::CopyToClipboard() const
{
    if (HasSelection())
        QGuiApplication::clipboard()->setText(Codec.Decode(SelectedBytes()));
}

void LogViewer::SelectAll()
{
    const qint64 last = LineCount() - 1;
    Anchor = TextPos{};
    Caret = Clamp(last, S(Text.LineLength(U(last))));
    viewport()->update();
    emit SelectionChanged();
}

void LogViewer::SetCaretLine(qint64 n)
{
    Anchor = Caret = Clamp(n - 1, 0);
    GoalPos = 0;
    EnsureVisible(Caret);
    viewport()->update();
    emit SelectionChanged();
}

void LogViewer::SelectRange(std::size_t begin, std::size_t end)
{
    Anchor = PosOfOffset(begin);
    Caret = PosOfOffset(end);
    GoalPos = Caret.Pos;
    EnsureVisible(Caret);
    EnsureVisible(Anchor);
    viewport()->update();
    emit SelectionChanged();
}

void LogViewer::MoveCaret(const TextPos& to, bool extend)
{
    Caret = to;
    if (!extend)
        Anchor = to;
    EnsureVisible(Caret);
    viewport()->update();
    emit SelectionChanged();
}

// ---------------------------------------------------------------------------------------------
// Scrolling

int LogViewer::VisibleLineCount() const
{
    return std::max(1, viewport()->height() / LineHeight);
}

int LogViewer::VisibleColumns() const
{
    return std::max(1, (viewport()->width() - Margin) / CharWidth);
}

qint64 LogViewer::MaxFirst() const
{
    return std::max<qint64>(0, LineCount() - VisibleLineCount());
}

void LogViewer::SetFirstVisibleLine(qint64 n)
{
    First = std::clamp<qint64>(n - 1, 0, MaxFirst());
    UpdateScrollBars();
    viewport()->update();
}

void LogViewer::SetFirstVisibleColumn(int column)
{
    FirstCol = std::max(0, column);
    UpdateScrollBars();
    viewport()->update();
}

void LogViewer::Repaint()
{
    viewport()->update();
}

void LogViewer::UpdateScrollBars()
{
    SyncingBars = true;
    const qint64 maxFirst = MaxFirst();
    VScale = 1 + maxFirst / INT_MAX;
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, static_cast<int>(maxFirst / VScale));
    v->setPageStep(VisibleLineCount());
    v->setSingleStep(1);
    v->setValue(static_cast<int>(First / VScale));

    const int cols = VisibleColumns();
    const int widest = ClampInt(S(std::min(Text.MaxLineLength(), DrawLimit)) + 1);
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, std::max({0, widest - cols + 1, FirstCol}));
    h->setPageStep(cols);
    h->setSingleStep(1);
    h->setValue(FirstCol);
    SyncingBars = false;
}

void LogViewer::scrollContentsBy(int, int)
{
    if (SyncingBars)
        return;
    const qint64 v = verticalScrollBar()->value();
    First = v >= verticalScrollBar()->maximum() ? MaxFirst() : std::min(MaxFirst(), v * VScale);
    FirstCol = horizontalScrollBar()->value();
    viewport()->update();
}

void LogViewer::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    First = std::min(First, MaxFirst());
    UpdateScrollBars();
}

qint64 LogViewer::DisplayColumn(qint64 line0, qint64 pos) const
{
    const std::string_view line = Text.Line(U(line0));
    const std::size_t n = std::min({U(pos), line.size(), DrawLimit});
    if (!std::memchr(line.data(), '\t', n))
        return pos;
    int col = 0;
    for (std::size_t i = 0; i < n; ++i)
        col += line[i] == '\t' ? TabWidth(col) : 1;
    return col + (pos - S(n));
}

void LogViewer::EnsureVisible(const TextPos& p)
{
    const qint64 page = VisibleLineCount();
    if (p.Line < First)
        First = p.Line;
    else if (p.Line >= First + page)
        First = p.Line - page + 1;
    First = std::clamp<qint64>(First, 0, MaxFirst());

    const int col = ClampInt(DisplayColumn(p.Line, p.Pos));
    const int cols = VisibleColumns();
    if (col < FirstCol)
        FirstCol = std::max(0, col - cols / 4);
    else if (col >= FirstCol + cols)
        FirstCol = col - cols + 1 + cols / 4;
    UpdateScrollBars();
}

// ---------------------------------------------------------------------------------------------
// Look

void LogViewer::SetColors(const ColorTable& colors)
{
    ColorItems = colors;
    viewport()->update();
}

void LogViewer::SetColor(int item, const QColor& color)
{
    if (item < 0 || item >= ColorItemCount)
        return;
    ColorItems[static_cast<std::size_t>(item)] = color;
    viewport()->update();
}

void LogViewer::SetLogFont(const QFont& font)
{
    setFont(font);  // the FontChange event updates the metrics
}

bool LogViewer::SetCodePage(const QString& name)
{
    if (!Codec.SetCodePage(name))
        return false;
    ForgetGlyphs();
    viewport()->update();
    return true;
}

void LogViewer::SetHighlight(bool on)
{
    HighlightOn = on;
    viewport()->update();
}

void LogViewer::SetWordColorCallback(WordColorFn fn)
{
    WordColor = std::move(fn);
    viewport()->update();
}

void LogViewer::UpdateMetrics()
{
    const QFontMetrics fm(font());
    // A fixed-pitch font's own advance is often a fraction of a pixel; its rounding is the cell,
    // and each glyph is placed in its cell rather than left to advance by itself. The average
    // width of some fixed fonts is a pixel more than their advance, so it is taken only for
    // proportional fonts, whose wide letters would otherwise crowd their neighbours.
    if (QFontInfo(font()).fixedPitch())
        CharWidth = std::max(1, fm.horizontalAdvance(QLatin1Char('0')));
    else
        CharWidth = std::max({1, fm.averageCharWidth(), fm.horizontalAdvance(QLatin1Char('0'))});
    LineHeight = std::max(1, fm.lineSpacing());
    Ascent = fm.ascent();
    GlyphFonts.assign(1, QRawFont::fromFont(font()));
    ForgetGlyphs();
}

void LogViewer::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        viewport()->setFont(font());
        UpdateMetrics();
        First = std::min(First, MaxFirst());
        UpdateScrollBars();
        viewport()->update();
    }
}

void LogViewer::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void LogViewer::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// ---------------------------------------------------------------------------------------------
// Painting

void LogViewer::paintEvent(QPaintEvent* event)
{
    QPainter p(viewport());
    const QRect area = event->rect();
    p.fillRect(area, ColorItems[ClrBackground]);
    p.setFont(font());
    const qint64 count = LineCount();
    const int firstRow = std::max(0, area.top() / LineHeight);
    const int lastRow = area.bottom() / LineHeight;
    for (int row = firstRow; row <= lastRow; ++row) {
        const qint64 line = First + row;
        if (line >= count)
            break;
        PaintLine(p, line, row * LineHeight);
    }
}

void LogViewer::ForgetGlyphs()
{
    ByteGlyphs.fill(GlyphRef{});
    CharGlyphs.clear();
}

LogViewer::GlyphRef LogViewer::LookUpGlyph(const QChar* chars, int count)
{
    quint32 index = 0;
    int glyphs = 1;
    if (GlyphFonts[0].glyphIndexesForChars(chars, count, &index, &glyphs) && glyphs == 1 && index != 0)
        return {0, index};
    // The log font lacks it: the glyph the toolkit's own text drawing would fall back to.
    QTextLayout layout(QString(chars, count), font());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.isEmpty() || runs.front().glyphIndexes().isEmpty())
        return {0, index};
    const QRawFont fallback = runs.front().rawFont();
    auto it = std::find(GlyphFonts.begin(), GlyphFonts.end(), fallback);
    if (it == GlyphFonts.end())
        it = GlyphFonts.insert(GlyphFonts.end(), fallback);
    return {static_cast<int>(it - GlyphFonts.begin()), runs.front().glyphIndexes().front()};
}

LogViewer::GlyphRef LogViewer::ByteGlyph(unsigned char byte)
{
    GlyphRef& g = ByteGlyphs[byte];
    if (g.Font < 0) {
        const QChar ch = Codec.DisplayChar(byte);
        g = LookUpGlyph(&ch, 1);
    }
    return g;
}

LogViewer::GlyphRef LogViewer::CharGlyph(const QChar* chars, int count)
{
    const char32_t key = count == 2 ? QChar::surrogateToUcs4(chars[0], chars[1]) : chars[0].unicode();
    auto it = CharGlyphs.find(key);
    if (it == CharGlyphs.end()) {
        if (CharGlyphs.size() > 4096)
            CharGlyphs.clear();
        it = CharGlyphs.insert(key, LookUpGlyph(chars, count));
    }
    return it.value();
}

void LogViewer::LayOutGlyphs(std::string_view raw, std::size_t stop, int baseline)
{
    Glyphs.clear();
    GlyphPlaces.clear();
    GlyphFont.clear();
    GlyphByte.clear();
    auto place = [&](std::size_t byte, GlyphRef g) {
        Glyphs.push_back(g.Index);
        GlyphPlaces.emplace_back(ColumnX(ColOf[byte]), baseline);
        GlyphFont.push_back(g.Font);
        GlyphByte.push_back(static_cast<std::uint32_t>(byte));
    };
    // Tabs are left blank; a character whose first column is left of the view is not drawn.
    if (Codec.IsSingleByte()) {
        for (std::size_t i = 0; i < stop; ++i)
            if (ColOf[i] >= FirstCol && raw[i] != '\t')
                place(i, ByteGlyph(static_cast<unsigned char>(raw[i])));
        return;
    }
    Codec.DecodeWithOffsets(raw.substr(0, stop), Decoded, DecodedAt);
    for (qsizetype k = 0; k < Decoded.size(); ++k) {
        const int units = Decoded[k].isHighSurrogate() && k + 1 < Decoded.size() && Decoded[k + 1].isLowSurrogate() ? 2 : 1;
        const std::size_t byte = DecodedAt[static_cast<std::size_t>(k)];
        if (ColOf[byte] >= FirstCol && Decoded[k] != u'\t')
            place(byte, CharGlyph(Decoded.constData() + k, units));
        k += units - 1;
    }
}

void LogViewer::DrawGlyphs(QPainter& p, std::size_t b0, std::size_t b1, const QColor& color)
{
    if (b1 <= b0)
        return;
    auto i = static_cast<std::size_t>(std::lower_bound(GlyphByte.begin(), GlyphByte.end(), b0) - GlyphByte.begin());
    const auto end = static_cast<std::size_t>(std::lower_bound(GlyphByte.begin(), GlyphByte.end(), b1) - GlyphByte.begin());
    if (i >= end)
        return;
    p.setPen(color);
    // One call for each stretch of glyphs from one font, every glyph at its own column.
    while (i < end) {
        std::size_t j = i + 1;
        while (j < end && GlyphFont[j] == GlyphFont[i])
            ++j;
        QGlyphRun run;
        run.setRawFont(GlyphFonts[static_cast<std::size_t>(GlyphFont[i])]);
        run.setRawData(&Glyphs[i], &GlyphPlaces[i], static_cast<int>(j - i));
        run.setUnderline(font().underline());
        run.setStrikeOut(font().strikeOut());
        p.drawGlyphRun(QPointF(0, 0), run);
        i = j;
    }
}

void LogViewer::PaintLine(QPainter& p, qint64 line0, int top)
{
    const std::string_view raw = Text.Line(U(line0)).substr(0, DrawLimit);
    const int leftCol = FirstCol;
    const int rightCol = FirstCol + VisibleColumns() + 1;

    // Columns of the bytes up to the first one that starts past the right edge: what lies
    // beyond is neither drawn nor asked about.
    ColOf.clear();
    int col = 0;
    std::size_t stop = 0;
    for (; stop < raw.size() && col < rightCol; ++stop) {
        ColOf.push_back(col);
        col += raw[stop] == '\t' ? TabWidth(col) : 1;
    }
    ColOf.push_back(col);
    LayOutGlyphs(raw, stop, top + Ascent);

    // Selection background first, so the text is drawn over it.
    const TextPos& s = std::min(Anchor, Caret);
    const TextPos& e = std::max(Anchor, Caret);
    std::size_t selBegin = 0, selEnd = 0;
    if (HasSelection() && line0 >= s.Line && line0 <= e.Line) {
        selBegin = std::min(line0 == s.Line ? U(s.Pos) : 0, stop);
        selEnd = std::min(line0 == e.Line ? U(e.Pos) : raw.size(), stop);
        const bool eol = line0 < e.Line && raw.size() <= stop;  // the line break is selected too
        const int c0 = std::max(ColOf[selBegin], leftCol);
        const int c1 = std::min(ColOf[selEnd] + (eol ? 1 : 0), rightCol);
        if (c1 > c0)
            p.fillRect(QRect(ColumnX(c0), top, (c1 - c0) * CharWidth, LineHeight), palette().color(QPalette::Highlight));
    }
    // Selected characters are drawn once, in the selection's colour: drawn over their own
    // colour, the first drawing would show at the edges of the second.
    auto draw = [&](std::size_t b0, std::size_t b1, const QColor& color) {
        b1 = std::min(b1, stop);
        if (selEnd <= selBegin) {
            DrawGlyphs(p, b0, b1, color);
            return;
        }
        DrawGlyphs(p, b0, std::min(b1, selBegin), color);
        DrawGlyphs(p, std::max(b0, selEnd), b1, color);
    };

    const QColor& normal = ColorItems[ClrNormal];
    if (!HighlightOn || !WordColor) {
        draw(0, stop, normal);
    } else {
        const int lineNo = static_cast<int>(std::min<qint64>(line0 + 1, INT_MAX));
        // Neighbouring words of one colour are drawn as one run, blanks and all.
        std::size_t runBegin = 0, runEnd = 0;
        int runItem = -1;
        auto flush = [&] {
            if (runItem >= 0)
                draw(runBegin, runEnd, ColorItems[static_cast<std::size_t>(runItem)]);
        };
        std::size_t i = 0;
        while (i < stop) {
            if (raw[i] == ' ') {
                ++i;
                continue;
            }
            const void* blank = std::memchr(raw.data() + i, ' ', raw.size() - i);
            const std::size_t end = blank ? U(static_cast<const char*>(blank) - raw.data()) : raw.size();
            int item = WordColor(raw.substr(i, end - i), lineNo, static_cast<int>(i));
            if (item < 0 || item >= ColorItemCount)
                item = ClrNormal;
            if (item == runItem) {
                runEnd = end;
            } else {
                flush();
                runBegin = i;
                runEnd = end;
                runItem = item;
            }
            i = end;
        }
        flush();
    }
    DrawGlyphs(p, selBegin, selEnd, palette().color(QPalette::HighlightedText));

    if (hasFocus() && line0 == Caret.Line) {
        const int c = ClampInt(DisplayColumn(line0, Caret.Pos));
        if (c >= leftCol && c <= rightCol)
            p.fillRect(QRect(ColumnX(c), top, 1, LineHeight), normal);
    }
}

// ---------------------------------------------------------------------------------------------
// Keyboard and mouse

void LogViewer::keyPressEvent(QKeyEvent* event)
{
    emit KeyPressed(event->key(), event->modifiers());
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (mods & Qt::AltModifier) {
        event->ignore();
        return;
    }
    // The keyboard's other way to the context menu, besides the Menu key.
    if (event->key() == Qt::Key_F10 && (mods & ~Qt::KeypadModifier) == Qt::ShiftModifier) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(), QPoint(), mods);
        contextMenuEvent(&menu);
        return;
    }
    if (event->matches(QKeySequence::Copy) || (mods == Qt::ControlModifier && event->key() == Qt::Key_Insert)) {
        CopyToClipboard();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
        return;
    }
    if (event->matches(QKeySequence::Find)) {
        ShowFindDialog();
        return;
    }
    const bool shift = mods & Qt::ShiftModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    const qint64 page = VisibleLineCount();
    const qint64 last = LineCount() - 1;
    const qint64 len = S(Text.LineLength(U(Caret.Line)));
    TextPos to = Caret;
    bool vertical = false;
    switch (event->key()) {
    case Qt::Key_Up:
        if (ctrl) {
            SetFirstVisibleLine(First);
            return;
        }
        to = Clamp(Caret.Line - 1, GoalPos);
        vertical = true;
        break;
    case Qt::Key_Down:
        if (ctrl) {
            SetFirstVisibleLine(First + 2);
            return;
        }
        to = Clamp(Caret.Line + 1, GoalPos);
        vertical = true;
        break;
    case Qt::Key_Left:
        if (Caret.Pos > 0)
            to.Pos = Caret.Pos - 1;
        else if (Caret.Line > 0)
            to = Clamp(Caret.Line - 1, LLONG_MAX);
        break;
    case Qt::Key_Right:
        if (Caret.Pos < len)
            to.Pos = Caret.Pos + 1;
        else if (Caret.Line < last)
            to = Clamp(Caret.Line + 1, 0);
        break;
    case Qt::Key_Home:
        to = ctrl ? TextPos{} : Clamp(Caret.Line, 0);
        break;
    case Qt::Key_End:
        to = ctrl ? Clamp(last, LLONG_MAX) : Clamp(Caret.Line, LLONG_MAX);
        break;
    case Qt::Key_PageUp:
        First = std::max<qint64>(0, First - page);
        to = Clamp(Caret.Line - page, GoalPos);
        vertical = true;
        break;
    case Qt::Key_PageDown:
        First = std::min(MaxFirst(), First + page);
        to = Clamp(Caret.Line + page, GoalPos);
        vertical = true;
        break;
    case Qt::Key_F3:
        FindAgain();
        return;
    default:
        event->ignore();
        return;
    }
    MoveCaret(to, shift);
    if (!vertical)
        GoalPos = Caret.Pos;
}

LogViewer::TextPos LogViewer::HitTest(const QPoint& pt) const
{
    const qint64 count = LineCount();
    if (count == 0)
        return {};
    const int row = pt.y() >= 0 ? pt.y() / LineHeight : -1 - (-pt.y() - 1) / LineHeight;
    const qint64 line0 = std::clamp<qint64>(First + row, 0, count - 1);
    const int x = pt.x() - Margin;
    const int target = FirstCol + (x >= 0 ? x / CharWidth : -1) + ((x >= 0 && x % CharWidth >= (CharWidth + 1) / 2) ? 1 : 0);
    const std::string_view line = Text.Line(U(line0)).substr(0, DrawLimit);
    int col = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const int w = line[i] == '\t' ? TabWidth(col) : 1;
        if (target < col + (w + 1) / 2)
            return {line0, S(i)};
        col += w;
    }
    return {line0, S(line.size())};
}

void LogViewer::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton) {
        const TextPos at = HitTest(event->position().toPoint());
        MoveCaret(at, event->modifiers() & Qt::ShiftModifier);
        GoalPos = Caret.Pos;
        Dragging = true;
    }
    event->accept();
}

void LogViewer::mouseMoveEvent(QMouseEvent* event)
{
    if (Dragging && (event->buttons() & Qt::LeftButton)) {
        const TextPos at = HitTest(event->position().toPoint());
        if (!(at == Caret)) {
            MoveCaret(at, true);
            GoalPos = Caret.Pos;
        }
    }
    event->accept();
}

void LogViewer::mouseReleaseEvent(QMouseEvent* event)
{
    Dragging = false;
    const TextPos at = event->button() == Qt::LeftButton ? Caret : HitTest(event->position().toPoint());
    emit MouseClicked(event->button(), at.Line + 1, at.Pos, event->modifiers());
    event->accept();
}

void LogViewer::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || LineCount() == 0)
        return;
    const TextPos at = HitTest(event->position().toPoint());
    const std::string_view line = Text.Line(U(at.Line));
    std::size_t b = U(at.Pos), e = U(at.Pos);
    while (b > 0 && line[b - 1] != ' ')
        --b;
    while (e < line.size() && line[e] != ' ')
        ++e;
    Anchor = {at.Line, S(b)};
    MoveCaret({at.Line, S(e)}, true);
    GoalPos = Caret.Pos;
    event->accept();
}

void LogViewer::contextMenuEvent(QContextMenuEvent* event)
{
    // From the keyboard the menu opens at the caret, where the user is looking, not wherever
    // the mouse pointer was left.
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const qint64 row = std::clamp<qint64>(Caret.Line - First + 1, 1, VisibleLineCount());
        const int col = ClampInt(DisplayColumn(Caret.Line, Caret.Pos));
        const int x = std::clamp(ColumnX(std::max(col, FirstCol)), 0, std::max(0, viewport()->width() - 1));
        at = viewport()->mapToGlobal(QPoint(x, static_cast<int>(row) * LineHeight));
    }
    emit ContextMenuRequested(at);
    if (Menu)
        Menu->popup(at);
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// Find

void LogViewer::ShowFindDialog()
{
    if (!FindDialog) {
        FindDialog = new LogFindDialog(this);
        connect(FindDialog, &LogFindDialog::FindNextRequested, this, [this] {
            const QString text = FindDialog->Text();
            if (!FindNext(text, FindDialog->MatchCase(), FindDialog->Down())) {
                FindDialog->ShowMessage(tr("Cannot find \"%1\"").arg(text));
                QApplication::beep();
            } else {
                FindDialog->ShowMessage(QString());
            }
        });
    }
    // Only a short selection is read: one of the whole log would be read for nothing.
    const std::size_t a = Offset(std::min(Anchor, Caret));
    const std::size_t b = Offset(std::max(Anchor, Caret));
    if (b > a && b - a <= 256) {
        const std::string sel = Text.ReadRange(a, b);
        if (sel.find('\n') == std::string::npos)
            FindDialog->SetText(Codec.Decode(sel));
    }
    FindDialog->SetMatchCase(LastMatchCase);
    FindDialog->SetDown(LastDown);
    FindDialog->show();
    FindDialog->raise();
    FindDialog->activateWindow();
}

bool LogViewer::Find(std::string_view needle, bool matchCase, bool down, std::size_t from)
{
    if (needle.empty())
        return false;
    const std::string sample = Text.ReadRange(0, std::size_t{1} << 16);
    const tarvex::ByteFinder finder(needle, matchCase ? nullptr : &Codec.Fold(), sample);
    const std::size_t at = Text.Find(finder, needle.size(), down, from);
    if (at == tarvex::ByteFinder::npos)
        return false;
    SelectRange(at, at + needle.size());
    return true;
}

bool LogViewer::FindNextBytes(std::string_view bytes, bool matchCase, bool down)
{
    LastNeedle.assign(bytes);
    LastMatchCase = matchCase;
    LastDown = down;
    const std::size_t from = down ? Offset(std::max(Anchor, Caret)) : Offset(std::min(Anchor, Caret));
    return Find(bytes, matchCase, down, from);
}

bool LogViewer::FindNext(const QString& text, bool matchCase, bool down)
{
    std::string bytes;
    if (!Codec.Encode(text, bytes))
        return false;
    return FindNextBytes(bytes, matchCase, down);
}

bool LogViewer::FindFirstBytes(std::string_view bytes, bool matchCase)
{
    LastNeedle.assign(bytes);
    LastMatchCase = matchCase;
    LastDown = true;
    return Find(bytes, matchCase, true, 0);
}

bool LogViewer::FindFirst(const QString& text, bool matchCase)
{
    std::string bytes;
    if (!Codec.Encode(text, bytes))
        return false;
    return FindFirstBytes(bytes, matchCase);
}

void LogViewer::FindAgain()
{
    if (LastNeedle.empty()) {
        ShowFindDialog();
        return;
    }
    const std::string needle = LastNeedle;
    if (!FindNextBytes(needle, LastMatchCase, LastDown))
        QApplication::beep();
}
