#include "app/qtsettingsstore.h"

#include <QSettings>
#include <QStringDecoder>

namespace {

bool IsValidUtf8(std::string_view bytes)
{
    QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // decode() is lazy: the text must be taken for the bytes to be looked at.
    const QString text = dec.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return !dec.hasError();
}

QString FromUtf8(std::string_view bytes) { return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())); }

// QSettings reads an INI section written "[General]" as keys outside any group (and writes its
// own "General" group as "[%General]"). A settings file written by hand the way people write
// INI files holds "[General]", so the general section is also looked for at the top level.
bool IsGeneral(std::string_view section) { return section == "General"; }

}  // namespace

TQtSettingsStore::TQtSettingsStore() : S(std::make_unique<QSettings>("Quenmar", "Tarvex")) {}

TQtSettingsStore::TQtSettingsStore(const QString& iniFile) : S(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

TQtSettingsStore::~TQtSettingsStore() { S->sync(); }

QString TQtSettingsStore::EncodeName(std::string_view name)
{
    const bool utf8 = IsValidUtf8(name);
    std::string out;
    out.reserve(name.size());
    static const char hex[] = "0123456789ABCDEF";
    for (const char ch : name) {
        const auto b = static_cast<unsigned char>(ch);
        if (b == '%' || b == '/' || b == '\\' || b < 0x20 || b == 0x7F || (b >= 0x80 && !utf8)) {
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 15];
        } else
            out += ch;
    }
    return FromUtf8(out);
}

std::string TQtSettingsStore::DecodeName(const QString& name)
{
    const QByteArray raw = name.toUtf8();
    std::string out;
    out.reserve(static_cast<std::size_t>(raw.size()));
    auto hexValue = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    };
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == '%' && i + 2 < raw.size() && hexValue(raw[i + 1]) >= 0 && hexValue(raw[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(raw[i + 1]) * 16 + hexValue(raw[i + 2]));
            i += 2;
        } else
            out += raw[i];
    }
    return out;
}

bool TQtSettingsStore::ReadValue(std::string_view section, std::string_view ident, std::string& value) const
{
    const QString key = EncodeName(section) + "/" + EncodeName(ident);
    QVariant v = S->value(key);
    if (!v.isValid() && IsGeneral(section))
        v = S->value(EncodeName(ident));
    if (!v.isValid())
        return false;
    if (v.typeId() == QMetaType::QByteArray) {
        const QByteArray b = v.toByteArray();
        value.assign(b.constData(), static_cast<std::size_t>(b.size()));
    } else
        value = v.toString().toStdString();
    return true;
}

void TQtSettingsStore::WriteString(std::string_view section, std::string_view ident, std::string_view value)
{
    const QString key = EncodeName(section) + "/" + EncodeName(ident);
    if (IsValidUtf8(value))
        S->setValue(key, FromUtf8(value));
    else
        S->setValue(key, QByteArray(value.data(), static_cast<qsizetype>(value.size())));
    // One value of a name only: a hand-written one at the top level would hide later edits.
    if (IsGeneral(section))
        S->remove(EncodeName(ident));
}

bool TQtSettingsStore::SectionExists(std::string_view section) const
{
    return S->childGroups().contains(EncodeName(section)) || (IsGeneral(section) && !S->childKeys().isEmpty());
}

void TQtSettingsStore::EraseSection(std::string_view section)
{
    S->remove(EncodeName(section));
    if (IsGeneral(section))
        for (const QString& k : S->childKeys())
            S->remove(k);
}

std::vector<std::pair<std::string, std::string>> TQtSettingsStore::ReadSection(std::string_view section) const
{
    std::vector<std::pair<std::string, std::string>> out;
    S->beginGroup(EncodeName(section));
    QStringList keys = S->childKeys();
    S->endGroup();
    if (IsGeneral(section))
        for (const QString& k : S->childKeys())
            if (!keys.contains(k))
                keys.append(k);
    for (const QString& k : keys) {
        const std::string ident = DecodeName(k);
        std::string value;
        if (ReadValue(section, ident, value))
            out.emplace_back(ident, value);
    }
    return out;
}

std::vector<std::string> TQtSettingsStore::SectionNames() const
{
    std::vector<std::string> out;
    for (const QString& g : S->childGroups())
        out.push_back(DecodeName(g));
    return out;
}

void TQtSettingsStore::Sync() { S->sync(); }

QString TQtSettingsStore::Location() const { return S->fileName(); }
