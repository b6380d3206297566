// The T-Mail traffic file: arbitrary bytes read from memory and from a file give the same
// table; every sort, cell, total and the report are made from it.
#include <cstdlib>
#include <string>

#include "fuzzsupport.h"
#include "tmail/traffic.h"

using namespace tarvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = fuzz::AsText(data, size);
    TTrafficTable table = TrafficTableOf(bytes);

    static const std::string path = fuzz::ScratchDir("tmail_traffic") + "/t-mail.s01";
    if (fuzz::WriteScratchFile(path, bytes)) {
        TTrafficTable fromFile;
        if (LoadTrafficFile(path, fromFile) != TRecordFileResult::Ok ||
            fromFile.Entries.size() != table.Entries.size() || fromFile.LeftoverBytes != table.LeftoverBytes ||
            fromFile.Totals.BytesRecd != table.Totals.BytesRecd)
            std::abort();
    }

    for (int mode = 0; mode <= 3; ++mode) {
        SortTraffic(table.Entries, static_cast<TTrafficSort>(mode));
        for (const TTrafficEntry& e : table.Entries)
            for (int c = 0; c < kTrafficColumns; ++c)
                (void)TrafficCellText(e, c);
    }
    for (int c = 0; c < kTrafficColumns; ++c)
        (void)TrafficTotalText(table.Totals, c);
    const std::string signature = "08/12/2026 23:59:59";
    (void)TrafficReport(table.Entries, table.Totals, &signature);
    return 0;
}
