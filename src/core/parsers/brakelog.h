#pragma once
#include <string>
#include <vector>

#include "log/mailerlog.h"

namespace tarvex {

// Logs of the Brake! mailer. Its phrases are fixed English words, so no language file is read;
// brake!.ctl gives the magic names (ALIAS) and the root of the served file tree (TREE).
// Line layout: DD?MM?YY in columns 1-8, HH:MM:SS in 10-17, a task word at 19, a level word at
// 23 and the message from column 25. The two mailer generations write their file transfer
// lines differently; BrkVersion 701 reads the older form, any other value the newer one.
class TBrakeLog : public TMailerLog
{
public:
    TBrakeLog();

    bool IsDateColumn(int col) const override;
    bool IsErrorWord(std::string_view word) const override;
    bool ClassifyWord(std::string_view word, int col) override;
    void Load(const ISettingsStore& reg, std::string_view section) override;
    void Save(ISettingsStore& reg, std::string_view section) const override;
    TDateTime DateOfLine(std::string_view line) override;
    bool EditOptions(IUserInterface& ui) override;
    void ParseLine(std::string_view line) override;
    TDateTime TimeOfLine(std::string_view line) override;
    std::string LocateFile(std::string_view name) override;
    void LoadConfig() override;
    std::string ConfigFile() const override;

    // A requested file's transfer starts on this line.
    virtual bool IsSendLine(std::string_view line) const;
    // A file's transfer ended well on this line.
    virtual bool IsSentLine(std::string_view line) const;
    // A word that marks a file transfer line.
    virtual bool IsTransferWord(std::string_view word) const;
    // The line from the file name on.
    virtual std::string_view StripTransferPrefix(std::string_view line) const;

    static constexpr int kOldVersion = 701;  // Brake! 701-702
    static constexpr int kNewVersion = 703;  // Brake! 703-715

    bool FreqFlag = false;
    std::string FreqFile;
    std::string Tree;
    std::int32_t BrkVersion = kOldVersion;

private:
    void NoteCall(std::string_view line);
    void ReadDoneCounts(std::string_view line);
    std::vector<std::string> AliasNames;
};

}  // namespace tarvex
