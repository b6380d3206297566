// The T-Mail last-sessions history: arbitrary bytes read from memory and from a file give the
// same table, and every cell of it is shown.
#include <cstdlib>
#include <string>

#include "fuzzsupport.h"
#include "tmail/history.h"

using namespace tarvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = fuzz::AsText(data, size);
    const THistoryTable table = HistoryTableOf(bytes);

    static const std::string path = fuzz::ScratchDir("tmail_history") + "/t-hist.$01";
    if (fuzz::WriteScratchFile(path, bytes)) {
        THistoryTable fromFile;
        if (LoadHistoryFile(path, fromFile) != TRecordFileResult::Ok ||
            fromFile.Records.size() != table.Records.size() || fromFile.LeftoverBytes != table.LeftoverBytes)
            std::abort();
    }

    for (const THistoryRecord& r : table.Records)
        for (int c = 0; c < kHistoryColumns; ++c)
            (void)HistoryCellText(r, c);
    return 0;
}
