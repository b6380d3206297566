#pragma once
#include <cstdint>

#include "log/mailerlog.h"
#include "recordwriter.h"

// The record lines `analyze` prints, one kind at a time, so that `follow` prints each day and
// session as it comes in exactly the same form.

void WriteDayRecord(const tarvex::TMailerLog& log, std::int32_t i, TRecordWriter& w);
void WriteSessionRecord(const tarvex::TMailerLog& log, std::int32_t i, TRecordWriter& w);
// What follows the days and sessions: every day's nodes, every file request, the total.
void WriteClosingRecords(const tarvex::TMailerLog& log, TRecordWriter& w);
// All of them, in `analyze`'s order.
void WriteAnalysisRecords(const tarvex::TMailerLog& log, TRecordWriter& w);
