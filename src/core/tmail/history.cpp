#include "tmail/history.h"

#include "base/fidoaddr.h"
#include "base/logutils.h"
#include "tmail/recordtable.h"

namespace tarvex {

const char* const kHistoryHeaders[kHistoryColumns] = {"Status", "Address", "Start time", "Length", "Sent", "Recv"};

THistoryRecord DecodeHistoryRecord(const unsigned char* rec)
{
    THistoryRecord r;
    r.Zone = RecU16(rec, 0);
    r.Net = RecU16(rec, 2);
    r.Node = RecU16(rec, 4);
    r.Point = RecU16(rec, 6);
    r.StartTime = RecI32(rec, 8);
    r.Length = RecI32(rec, 12);
    r.BytesRecd = RecI32(rec, 16);
    r.BytesSent = RecI32(rec, 20);
    r.FilesRecd = rec[24];
    r.FilesSent = rec[25];
    r.Flags = rec[26];
    return r;
}

THistoryTable HistoryTableOf(std::string_view fileBytes)
{
    THistoryTable table;
    table.LeftoverBytes = DecodeRecords(fileBytes, kHistoryRecordSize, table.Records, DecodeHistoryRecord);
    return table;
}

TRecordFileResult LoadHistoryFile(std::string_view localPath, THistoryTable& table)
{
    return LoadRecordTable(localPath, kHistoryRecordSize, table, HistoryTableOf);
}

std::string HistoryCellText(const THistoryRecord& r, int column)
{
    switch (static_cast<THistoryColumn>(column)) {
    case THistoryColumn::Status: {
        std::string s = (r.Flags & kHistoryIncoming) ? "In" : "Out";
        if (r.Flags & kHistorySucceeded)
            s += " OK";
        return s;
    }
    case THistoryColumn::Address: return FormatAddr(r.Zone, r.Net, r.Node, r.Point);
    // A negative start time gives a negative remainder: shown with its sign, not wrapped.
    case THistoryColumn::StartTime: return SecsToStr(r.StartTime % 86400);
    case THistoryColumn::Length: return SecsToStr(r.Length);
    case THistoryColumn::Sent: return std::to_string(r.FilesSent) + "/" + SizeToStr(r.BytesSent);
    case THistoryColumn::Recv: return std::to_string(r.FilesRecd) + "/" + SizeToStr(r.BytesRecd);
    }
    return {};
}

}  // namespace tarvex
