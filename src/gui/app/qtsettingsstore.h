#pragma once
#include <QString>
#include <memory>

#include "host/settingsstore.h"

class QSettings;

// The settings store on QSettings: the user's own store under organization "Quenmar",
// application "Tarvex" (on Windows the registry key Software\Quenmar\Tarvex), or an INI file
// of the caller's choosing (tests, the demo, --settings).
//
// Section and value names come partly from the user (log names name their view sections), so
// they are encoded before QSettings sees them: '%', '/', '\' and control bytes always, bytes
// above 127 when the name is not valid UTF-8. The encoding is one-to-one, so no two names share
// a section. Values are stored as text when they are valid UTF-8 and as raw bytes otherwise
// (a LastStr holds the mailer's own code page), so every value reads back byte for byte.
class TQtSettingsStore : public tarvex::ISettingsStore
{
public:
    // The user's store.
    TQtSettingsStore();
    // An INI file.
    explicit TQtSettingsStore(const QString& iniFile);
    ~TQtSettingsStore() override;

    bool ReadValue(std::string_view section, std::string_view ident, std::string& value) const override;
    void WriteString(std::string_view section, std::string_view ident, std::string_view value) override;
    bool SectionExists(std::string_view section) const override;
    void EraseSection(std::string_view section) override;
    std::vector<std::pair<std::string, std::string>> ReadSection(std::string_view section) const override;
    std::vector<std::string> SectionNames() const override;

    // Writes everything out now (it is also written when the store goes away).
    void Sync();
    QString Location() const;

    static QString EncodeName(std::string_view name);
    static std::string DecodeName(const QString& name);

private:
    std::unique_ptr<QSettings> S;
};
