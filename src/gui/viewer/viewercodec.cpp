#include "viewer/viewercodec.h"

#include <QHash>

#include "base/codepagetables.h"

namespace {
constexpr char16_t ControlMark = 0x00B7;
}

ViewerCodec::ViewerCodec()
{
    SetCodePage(QStringLiteral("ISO-8859-1"));
}

void ViewerCodec::BuildTables(const char16_t* upper)
{
    for (std::size_t b = 0; b < 256; ++b)
        Chars[b] = b < 128 || !upper ? static_cast<char16_t>(b) : upper[b - 128];
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

bool ViewerCodec::SetCodePage(const QString& name)
{
    const std::string key = name.trimmed().toUpper().toStdString();
    if (key == "ISO-8859-1" || key == "LATIN1" || key == "LATIN-1" || key == "ISO8859-1") {
        Name = QStringLiteral("ISO-8859-1");
        SingleByte = true;
        BuildTables(nullptr);
        return true;
    }
    for (const tarvex::CodePageTable& page : tarvex::SingleByteCodePages()) {
        for (const std::string& alias : page.Aliases) {
            if (alias == key) {
                Name = QString::fromLatin1(page.Name);
                SingleByte = true;
                BuildTables(page.Upper);
                return true;
            }
        }
    }
    const auto encoding = QStringConverter::encodingForName(name.toLatin1().constData());
    if (!encoding)
        return false;
    Name = name;
    QtEncoding = *encoding;
    SingleByte = *encoding == QStringConverter::Latin1;
    BuildTables(nullptr);
    if (!SingleByte)
        FoldTable = tarvex::AsciiFold();
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
    QStringDecoder decoder(QtEncoding);
    return decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
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
    QStringEncoder encoder(QtEncoding);
    const QByteArray encoded = encoder(text);
    if (encoder.hasError())
        return false;
    bytes.assign(encoded.constData(), static_cast<std::size_t>(encoded.size()));
    return true;
}
