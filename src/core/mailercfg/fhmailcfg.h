#pragma once
#include <string>

#include "mailercfg/qparser.h"

namespace tarvex {

// Registers what the FHMail style reads from fhmail.cfg: the keywords "AliasList" and
// "Language" and the mailer's own define syntax, "define NAME = value", whose names are then
// written between '%' signs in later lines.
void SetUpFHMailConfigParser(TQParser& parser, std::string& aliasList, std::string& language);

// Replaces each %NAME% of a line by its define (names upper-cased); used before tokenising.
// Scanning resumes after each inserted value, so an undefined name (which comes back as
// itself) or a value holding '%' never loops; two adjacent '%' end the replacement.
void ReplacePercentDefines(std::string& line, const TStrDict& defines);

}  // namespace tarvex
