#pragma once
#include <QAbstractScrollArea>
#include <QColor>
#include <QHash>
#include <QPointer>
#include <QRawFont>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "log/logtext.h"
#include "viewer/viewercodec.h"

class QMenu;
class LogFindDialog;

// The read-only viewer of a log. It keeps the log's text (LogText: a file's line index, its bytes
// read on demand) and draws only the lines on screen, so a log of gigabytes scrolls as fast as a
// short one. Line numbers in this
// interface are 1-based and the same as the analysis counts; positions are 0-based byte offsets
// within a line, the terminator excluded. Out-of-range line numbers are taken as the nearest
// line, positions past a line's end as its end.
class LogViewer : public QAbstractScrollArea
{
    Q_OBJECT
public:
    enum ColorItem {
        ClrNormal = 0,
        ClrDateTime,
        ClrErrors,
        ClrInfo,
        ClrTransfers,
        ClrSpecial,
        ClrBackground,
        ClrTLInc,
        ClrTLOut,
        ClrTLHuman,
        ClrTLBad,
        ColorItemCount
    };
    using ColorTable = std::array<QColor, ColorItemCount>;
    // Asked, with highlighting on, for every word drawn, left to right along each line: the
    // word's raw bytes, its 1-based line number and 0-based byte column. Returns a colour item.
    using WordColorFn = std::function<int(std::string_view word, int line, int column)>;

    // Lines longer than this are drawn (and coloured) only up to it.
    static constexpr std::size_t DrawLimit = std::size_t{64} << 10;

    explicit LogViewer(QWidget* parent = nullptr);
    ~LogViewer() override;

    // --- Text
    // progress is told the bytes read so far and the file's size after each piece; false stops
    // the load (the text shown before stays).
    bool LoadFromFile(const QString& path, QString* error = nullptr,
                      const tarvex::LogText::LoadProgress& progress = {});
    // The same, the text growing as it is read and shown as it grows, each piece handed to sink
    // once the text holds it (LogText::LoadFileInPlace); the caret and the view stay where they
    // are put meanwhile. A file that cannot be opened leaves the text as it was; a load that
    // fails or is stopped later leaves it empty.
    bool LoadFromFileInPlace(const QString& path, QString* error, const tarvex::LogText::LoadProgress& progress,
                             const tarvex::LogText::LoadSink& sink);
    void SetText(std::string_view bytes);
    void SetText(const QByteArray& bytes);
    void SetText(const char* bytes) { SetText(std::string_view(bytes)); }
    void Clear();
    // Adds a followed log's new bytes at the end, indexing only them. With the caret on the
    // last line and nothing selected (AtEnd), the caret goes to the new last line and the view
    // scrolls with it; otherwise caret, selection and view stay where the user left them.
    // False, the text as it was, when there is no memory for the bytes.
    bool AppendText(std::string_view bytes);
    bool AtEnd() const;
    // The whole text, copied (for small texts and tests: a log's bytes are read on demand).
    std::string Bytes() const { return Text.Bytes(); }
    const tarvex::LogText& Model() const { return Text; }
    qint64 LineCount() const { return static_cast<qint64>(Text.LineCount()); }
    // The raw bytes of line n, without moving the caret, the selection or the view; valid until
    // the next call that reads the text (LogText's rule).
    std::string_view LineBytes(qint64 n) const;
    // The same, decoded by the code page.
    QString LineText(qint64 n) const;
    // Writes the raw bytes, byte for byte, truncating the file first (it is rewritten in place,
    // as a mailer may hold it open).
    bool SaveToFile(const QString& path, QString* error = nullptr) const;

    // --- Caret and selection
    void GetSelection(qint64& startLine, qint64& startPos, qint64& endLine, qint64& endPos) const;
    // The anchor goes to the start and the caret to the end; nothing scrolls.
    void SetSelection(qint64 startLine, qint64 startPos, qint64 endLine, qint64 endPos);
    bool HasSelection() const;
    std::string SelectedBytes() const;
    void DeleteSelection();
    // The file shown lost its first dropped bytes (a cut rewrote it): the text drops them too.
    // The caret and the view go to the top.
    void FileHeadCut(std::size_t dropped);
    void CopyToClipboard() const;
    void SelectAll();
    qint64 CaretLine() const { return Caret.Line + 1; }
    qint64 CaretPos() const { return Caret.Pos; }
    // Caret to the start of line n, nothing selected, and line n scrolled into view.
    void SetCaretLine(qint64 n);

    // --- View
    qint64 FirstVisibleLine() const { return First + 1; }
    // Line n becomes the top line as far as the text allows (the last page stays full).
    void SetFirstVisibleLine(qint64 n);
    int VisibleLineCount() const;
    void Repaint();
    // The fixed-pitch cell every byte (a tab: up to the next multiple of 8) is drawn in.
    int CharWidthPx() const { return CharWidth; }
    int LineHeightPx() const { return LineHeight; }
    int FirstVisibleColumn() const { return FirstCol; }
    void SetFirstVisibleColumn(int column);

    // --- Find
    void ShowFindDialog();
    // From the selection on, down or up; selects the match and scrolls to it.
    bool FindNext(const QString& text, bool matchCase, bool down);
    bool FindNextBytes(std::string_view bytes, bool matchCase, bool down);
    // From the start of the text: selects the first match.
    bool FindFirst(const QString& text, bool matchCase = true);
    bool FindFirstBytes(std::string_view bytes, bool matchCase = true);
    // F3: the last search again (the dialog when there was none).
    void FindAgain();

    // --- Look
    void SetColors(const ColorTable& colors);
    const ColorTable& Colors() const { return ColorItems; }
    void SetColor(int item, const QColor& color);
    void SetTextColor(const QColor& color) { SetColor(ClrNormal, color); }
    void SetBackgroundColor(const QColor& color) { SetColor(ClrBackground, color); }
    QColor TextColor() const { return ColorItems[ClrNormal]; }
    QColor BackgroundColor() const { return ColorItems[ClrBackground]; }
    void SetLogFont(const QFont& font);
    // A code page name such as "IBM866", "windows-1251", "IBM437", "ISO-8859-1", "UTF-8".
    bool SetCodePage(const QString& name);
    QString CodePage() const { return Codec.CodePage(); }
    void SetHighlight(bool on);
    bool Highlight() const { return HighlightOn; }
    void SetWordColorCallback(WordColorFn fn);

    // The owner's pop-up menu, shown on a right click (not owned).
    void SetContextMenu(QMenu* menu) { Menu = menu; }
    QMenu* ContextMenu() const { return Menu; }

signals:
    // Every key pressed in the viewer, before the viewer's own handling. Keys with Alt held are
    // left to the owner.
    void KeyPressed(int key, Qt::KeyboardModifiers modifiers);
    // A mouse button released over the text, after the caret and selection moved.
    void MouseClicked(Qt::MouseButton button, qint64 line, qint64 pos, Qt::KeyboardModifiers modifiers);
    void ContextMenuRequested(const QPoint& globalPos);
    void SelectionChanged();
    void TextChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct TextPos
    {
        qint64 Line = 0;  // 0-based
        qint64 Pos = 0;
        friend bool operator==(const TextPos&, const TextPos&) = default;
        friend bool operator<(const TextPos& a, const TextPos& b)
        {
            return a.Line != b.Line ? a.Line < b.Line : a.Pos < b.Pos;
        }
    };

    TextPos Clamp(qint64 line0, qint64 pos) const;
    std::size_t Offset(const TextPos& p) const;
    TextPos PosOfOffset(std::size_t offset) const;
    void SelectRange(std::size_t begin, std::size_t end);
    void MoveCaret(const TextPos& to, bool extend);
    void EnsureVisible(const TextPos& p);
    void TextReplaced();
    // More lines came at the end of linesBefore (a load in place): the scroll bars follow,
    // nothing moves.
    void TextGrew(qint64 linesBefore);
    void UpdateMetrics();
    void UpdateScrollBars();
    qint64 MaxFirst() const;
    int VisibleColumns() const;
    qint64 DisplayColumn(qint64 line0, qint64 pos) const;
    // The one geometry of painting, selection and hit-testing: display column c starts at
    // ColumnX(c), and a character is drawn there whatever its glyph's own advance.
    int ColumnX(int column) const { return Margin + (column - FirstCol) * CharWidth; }
    TextPos HitTest(const QPoint& pt) const;
    bool Find(std::string_view needle, bool matchCase, bool down, std::size_t from);
    void PaintLine(QPainter& p, qint64 line0, int top);

    // A character's glyph: which of GlyphFonts has it (0 the log font, others the fallbacks the
    // toolkit takes for characters the log font lacks) and its index there.
    struct GlyphRef
    {
        int Font = -1;  // -1: not looked up yet
        quint32 Index = 0;
    };
    GlyphRef LookUpGlyph(const QChar* chars, int count);
    GlyphRef ByteGlyph(unsigned char byte);
    GlyphRef CharGlyph(const QChar* chars, int count);
    void ForgetGlyphs();
    void LayOutGlyphs(std::string_view raw, std::size_t stop, int baseline);
    void DrawGlyphs(QPainter& p, std::size_t b0, std::size_t b1, const QColor& color);

    tarvex::LogText Text;
    ViewerCodec Codec;
    ColorTable ColorItems;
    bool HighlightOn = false;
    WordColorFn WordColor;
    QMenu* Menu = nullptr;
    QPointer<LogFindDialog> FindDialog;
    std::string LastNeedle;
    bool LastMatchCase = false;
    bool LastDown = true;

    TextPos Anchor, Caret;
    qint64 GoalPos = 0;  // the position up and down moves aim at
    qint64 First = 0;    // top line, 0-based
    int FirstCol = 0;    // leftmost display column
    qint64 VScale = 1;   // lines per vertical scroll bar step, for logs of over 2^31 lines
    bool SyncingBars = false;
    bool Dragging = false;

    int CharWidth = 8;
    int LineHeight = 16;
    int Ascent = 12;
    static constexpr int Margin = 2;

    std::vector<QRawFont> GlyphFonts;
    std::array<GlyphRef, 256> ByteGlyphs{};
    QHash<char32_t, GlyphRef> CharGlyphs;

    // Scratch buffers of the painter, kept to avoid allocating per line: the columns of the
    // line's bytes, and its glyphs on screen in byte order with their places and first bytes.
    std::vector<int> ColOf;
    std::vector<quint32> Glyphs;
    std::vector<QPointF> GlyphPlaces;
    std::vector<int> GlyphFont;
    std::vector<std::uint32_t> GlyphByte;
    QString Decoded;
    std::vector<std::uint32_t> DecodedAt;
};
