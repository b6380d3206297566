#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvex {

// The program's settings: sections of named text values. The GUI keeps them in QSettings,
// tests and the command line in memory. Every reader supplies its own default.
class ISettingsStore
{
public:
    virtual ~ISettingsStore() = default;

    virtual bool ReadValue(std::string_view section, std::string_view ident, std::string& value) const = 0;
    virtual void WriteString(std::string_view section, std::string_view ident, std::string_view value) = 0;
    virtual bool SectionExists(std::string_view section) const = 0;
    virtual void EraseSection(std::string_view section) = 0;
    // All values of a section, in a stable order: lets a section we cannot interpret be kept verbatim.
    virtual std::vector<std::pair<std::string, std::string>> ReadSection(std::string_view section) const = 0;
    // The names of all sections, in a stable order.
    virtual std::vector<std::string> SectionNames() const = 0;

    std::string ReadString(std::string_view section, std::string_view ident, std::string_view def) const;
    // Decimal, or hexadecimal after "0x"; anything unreadable gives the default.
    int ReadInteger(std::string_view section, std::string_view ident, int def) const;
    // "0" is false, any other number true; unreadable text gives the default.
    bool ReadBool(std::string_view section, std::string_view ident, bool def) const;
    void WriteInteger(std::string_view section, std::string_view ident, long long value);
    void WriteBool(std::string_view section, std::string_view ident, bool value);
};

// A settings store held in memory, for tests and the command line.
class TMemorySettings : public ISettingsStore
{
public:
    bool ReadValue(std::string_view section, std::string_view ident, std::string& value) const override;
    void WriteString(std::string_view section, std::string_view ident, std::string_view value) override;
    bool SectionExists(std::string_view section) const override;
    void EraseSection(std::string_view section) override;
    std::vector<std::pair<std::string, std::string>> ReadSection(std::string_view section) const override;

    std::vector<std::string> SectionNames() const override { return Sections(); }

    std::vector<std::string> Sections() const;

private:
    struct TSection {
        std::string Name;
        std::vector<std::pair<std::string, std::string>> Values;
    };
    const TSection* Find(std::string_view section) const;
    std::vector<TSection> Data;
};

}  // namespace tarvex
