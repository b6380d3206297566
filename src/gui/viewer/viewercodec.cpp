#include "viewer/viewercodec.h"

#include <QHash>
#include <QVarLengthArray>
#include <algorithm>

namespace {
constexpr char16_t ControlMark = 0x00B7;
}

ViewerCodec::ViewerCodec()
{
    SetCodePage(QStringLiteral("ISO-8859-1"));
}

void ViewerCodec::BuildTables(const std::array<char16_t, 256>& chars)
{
    Chars = chars;
    for (std::size_t b = 0; b < 256; ++b) {
        const char16_t c = Chars[b];
        Display[b] = (c < 0x20 || (c >= 0x7F && c < 0xA0)) ? ControlMark : c;
    }
    // Two bytes match without case when their characters lower-case alike.
    QHash<char16_t, unsigned char> byLower;
    for (std::size_t b = 0; b < 256; ++b) {
        if (Chars[b] == 0xFFFD) {  // undefined bytes match only themselves
            FoldTable[b] = static_cast<unsigned char>(b);
            continue;
        }
        const char16_t lower = QChar(Chars[b]).toLower().unicode();
        auto it = byLower.find(lower);
        if (it == byLower.end())
            it = byLower.insert(lower, static_cast<unsigned char>(b));
        FoldTable[b] = it.value();
    }
}

bool ViewerCodec::IsKnown(const QString& name)
{
    const QByteArray key = name.trimmed().toLatin1();
    return !key.isEmpty() && QStringDecoder(key.constData()).isValid();
}

bool ViewerCodec::SetCodePage(const QString& name)
{
    // The toolkit's decoders know every code page its conversion library knows (IBM866, IBM437,
    // KOI8-R, windows-1251, ...), by any of their names.
    const QByteArray key = name.trimmed().toLatin1();
    if (key.isEmpty() || !QStringDecoder(key.constData()).isValid())
        return false;

    // A code page is taken byte for byte when every byte alone is one character and a run of
    // bytes decodes as those characters one after the other. Multi-byte encodings fail one or
    // the other: their lead bytes alone are incomplete, so most high bytes decode to nothing or
    // to the replacement character.
    std::array<char16_t, 256> chars{};
    bool single = true;
    int undefined = 0;
    for (std::size_t b = 0; b < 256 && single; ++b) {
        const char c = static_cast<char>(b);
        QStringDecoder one(key.constData(), QStringDecoder::Flag::Stateless);
        const QString text = one.decode(QByteArrayView(&c, 1));
        if (text.size() != 1) {
            single = false;
            break;
        }
        chars[b] = text.at(0).unicode();
        if (chars[b] == 0xFFFD)
            ++undefined;
    }
    if (single) {
        char run[128];
        for (std::size_t i = 0; i < sizeof run; ++i)
            run[i] = static_cast<char>(128 + i);
        QStringDecoder all(key.constData(), QStringDecoder::Flag::Stateless);
        const QString text = all.decode(QByteArrayView(run, static_cast<qsizetype>(sizeof run)));
        single = undefined < 16 && text.size() == 128 &&
                 std::equal(chars.begin() + 128, chars.end(), text.cbegin(), [](char16_t a, QChar b) { return a == b.unicode(); });
    }

    Name = QString::fromLatin1(key);
    SingleByte = single;
    if (single) {
        BuildTables(chars);
    } else {
        for (std::size_t b = 0; b < 256; ++b)
            chars[b] = b < 128 ? static_cast<char16_t>(b) : char16_t(0xFFFD);
        BuildTables(chars);
        FoldTable = tarvex::AsciiFold();
    }
    return true;
}

QString ViewerCodec::Decode(std::string_view bytes) const
{
    if (SingleByte) {
        QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
        QChar* d = out.data();
        for (const char c : bytes)
            *d++ = QChar(Chars[static_cast<unsigned char>(c)]);
        return out;
    }
    QStringDecoder decoder(Name.toLatin1().constData());
    return decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

void ViewerCodec::DecodeWithOffsets(std::string_view bytes, QString& text, std::vector<std::uint32_t>& offsets) const
{
    text.clear();
    offsets.clear();
    if (SingleByte) {
        text = Decode(bytes);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            offsets.push_back(static_cast<std::uint32_t>(i));
        return;
    }
    // Fed a byte at a time, the decoder gives out a character once its last byte is in; what
    // it gives out before a character that a single byte completes is the replacement for a
    // broken sequence, which belongs where that sequence began.
    QStringDecoder decoder(Name.toLatin1().constData());
    text.reserve(static_cast<qsizetype>(bytes.size()));
    QVarLengthArray<QChar, 16> out;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out.resize(decoder.requiredSpace(1));
        const qsizetype n = decoder.appendToBuffer(out.data(), QByteArrayView(bytes.data() + i, 1)) - out.data();
        if (n == 0)
            continue;
        const qsizetype last = n >= 2 && out[n - 1].isLowSurrogate() ? n - 2 : n - 1;
        for (qsizetype k = 0; k < n; ++k) {
            text.append(out[k]);
            offsets.push_back(static_cast<std::uint32_t>(k >= last && last > 0 ? i : begin));
        }
        begin = i + 1;
    }
    if (begin < bytes.size()) {  // a sequence cut off by the end of the line
        text.append(QChar(QChar::ReplacementCharacter));
        offsets.push_back(static_cast<std::uint32_t>(begin));
    }
}

bool ViewerCodec::Encode(const QString& text, std::string& bytes) const
{
    bytes.clear();
    if (SingleByte) {
        QHash<char16_t, unsigned char> toByte;
        for (std::size_t b = 256; b-- > 0;)
            toByte.insert(Chars[b], static_cast<unsigned char>(b));
        for (const QChar c : text) {
            const auto it = toByte.constFind(c.unicode());
            if (it == toByte.constEnd())
                return false;
            bytes.push_back(static_cast<char>(it.value()));
        }
        return true;
    }
    QStringEncoder encoder(Name.toLatin1().constData());
    const QByteArray encoded = encoder(text);
    if (encoder.hasError())
        return false;
    bytes.assign(encoded.constData(), static_cast<std::size_t>(encoded.size()));
    return true;
}
