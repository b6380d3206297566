#pragma once
#include <string>
#include <string_view>

#include "mailercfg/strdict.h"

namespace tarvex {

// The FHMail language file: text lines of a key word and one or two phrases in single quotes;
// a line starting with ';' is a comment. The second phrase of key K is stored as K + "2".
class TFHMailLng
{
public:
    // Reads the file at a local path; throws ELngError when it cannot be read.
    explicit TFHMailLng(std::string_view fileName);
    static TFHMailLng FromText(std::string_view text);

    // The phrase of the key (any case); a key the file does not define gives the key itself.
    std::string GetPhrase(std::string_view key) const { return Dict.GetValue(key); }

    const TStrDict& Phrases() const { return Dict; }

private:
    TFHMailLng() = default;
    void Load(std::string_view text);
    void LoadLine(std::string_view line);

    TStrDict Dict;  // upper-case key word -> phrase
};

}  // namespace tarvex
