#pragma once
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "log/bytefind.h"

// Turns a log's raw bytes into text for the screen and the clipboard, and text typed by the
// user back into bytes to search for. Any code page the toolkit's decoders know can be named.
// Single-byte ones (those of DOS and Windows that mailers write in) are decoded once into a
// 256-entry table, which keeps one byte one character: columns, hit-testing and selection then
// work on bytes, and painting does no conversion. Other encodings (UTF-8, ...) go through the
// decoder each time.
class ViewerCodec
{
public:
    ViewerCodec();

    // False (and the code page unchanged) when the name is unknown.
    bool SetCodePage(const QString& name);
    static bool IsKnown(const QString& name);
    QString CodePage() const { return Name; }
    bool IsSingleByte() const { return SingleByte; }

    // Faithful text, control bytes included.
    QString Decode(std::string_view bytes) const;
    // The same, with the offset in bytes of the byte that starts each UTF-16 unit's character,
    // so that a character of several bytes can be drawn at its first byte's column.
    void DecodeWithOffsets(std::string_view bytes, QString& text, std::vector<std::uint32_t>& offsets) const;
    // The character drawn for a byte (single-byte code pages only): control bytes become a
    // visible mark, since a NUL or an escape drawn as itself shows nothing or garbles the line.
    QChar DisplayChar(unsigned char byte) const { return QChar(Display[byte]); }
    // Bytes of text in this code page; false when some character has no byte.
    bool Encode(const QString& text, std::string& bytes) const;
    // Which bytes match which without regard to case, for this code page's letters.
    const tarvex::ByteFold& Fold() const { return FoldTable; }

private:
    void BuildTables(const std::array<char16_t, 256>& chars);

    QString Name;
    bool SingleByte = true;
    std::array<char16_t, 256> Chars{};
    std::array<char16_t, 256> Display{};
    tarvex::ByteFold FoldTable{};
};
