#include <gtest/gtest.h>

#include <string>

#include "mailercfg/binklng.h"
#include "mailercfg/fhmaillng.h"
#include "mailercfg/lngerror.h"
#include "mailercfg/sfmaillng.h"
#include "mailercfg/tmaillng.h"
#include "testfiles.h"

using namespace tarvex;
using tarvex::test::Bytes;
using tarvex::test::Le16;
using tarvex::test::Le32;

// ---- t-mail.lng -------------------------------------------------------------------------

TEST(TMailLng, PhrasesEndAtNulAndTheTrailerIsSkipped)
{
    const TTMailLng lng = TTMailLng::FromBytes(Bytes("A\0BC\0xy"));
    EXPECT_EQ(lng.Count(), 2u);
    EXPECT_EQ(lng.Size(), 7u);
    EXPECT_EQ(lng.GetString(1), "A");
    EXPECT_EQ(lng.GetString(2), "BC");
    EXPECT_EQ(lng.GetString(3), "");
    EXPECT_EQ(lng.GetString(0), "");
    EXPECT_EQ(lng.GetString(-5), "");

    // NULs among the last two bytes do not count.
    const TTMailLng trailer = TTMailLng::FromBytes(Bytes("A\0B\0"));
    EXPECT_EQ(trailer.Count(), 1u);
    EXPECT_EQ(trailer.GetString(2), "");
}

TEST(TMailLng, TinyAndUnterminatedFilesHoldNoPhrase)
{
    for (const std::string& b : {std::string(), Bytes("\0"), Bytes("\0\0"), std::string("ABCxy")}) {
        const TTMailLng lng = TTMailLng::FromBytes(b);
        EXPECT_EQ(lng.Count(), 0u);
        EXPECT_EQ(lng.GetString(1), "");
    }
    const TTMailLng one = TTMailLng::FromBytes(Bytes("\0\0\0"));
    EXPECT_EQ(one.Count(), 1u);
    EXPECT_EQ(one.GetString(1), "");
    // The text after the last NUL is no phrase of its own.
    const TTMailLng tail = TTMailLng::FromBytes(Bytes("A\0dangling..."));
    EXPECT_EQ(tail.Count(), 1u);
    EXPECT_EQ(tail.GetString(2), "");
}

TEST(TMailLng, PhraseIsCutBeforePercent)
{
    const TTMailLng lng = TTMailLng::FromBytes(Bytes("Dialing %s\0%d files\0No placeholder\0..."));
    EXPECT_EQ(lng.GetPhrase(1), "Dialing ");
    EXPECT_EQ(lng.GetPhrase(2), "");
    EXPECT_EQ(lng.GetPhrase(3), "No placeholder");
    EXPECT_EQ(lng.GetString(1), "Dialing %s");
}

TEST(TMailLng, OffsetsPast64KStayRight)
{
    std::string b(70000, 'x');
    b += '\0';
    b += Bytes("Late\0..");
    const TTMailLng lng = TTMailLng::FromBytes(b);
    EXPECT_EQ(lng.Count(), 2u);
    EXPECT_EQ(lng.GetString(1).size(), 70000u);
    EXPECT_EQ(lng.GetString(2), "Late");
}

// ---- sf-mail.lng ------------------------------------------------------------------------

namespace {

struct SFEntry
{
    unsigned Id;
    unsigned Position;
};

std::string SFFile(unsigned count, std::initializer_list<SFEntry> entries, const std::string& pool)
{
    std::string b(28, 'h');
    b += Le16(count);
    b += "uu";
    for (const SFEntry& e : entries)
        b += Le16(e.Id) + Le16(e.Position);
    return b + pool;
}

std::string Pascal(const std::string& s)
{
    return std::string(1, static_cast<char>(s.size())) + s;
}

}  // namespace

TEST(SFMailLng, LooksUpIdsThroughTheIndex)
{
    // Pool: "Busy" at positions 1..5, "Connect %1 bps" from 6, "Dup" after that.
    const std::string pool = Pascal("Busy") + Pascal("Connect %1 bps") + Pascal("Dup");
    const TSFMailLng lng =
        TSFMailLng::FromBytes(SFFile(4, {{2034, 1}, {1157, 6}, {2034, 21}, {7, 21}}, pool));
    EXPECT_EQ(lng.Count(), 4u);
    EXPECT_EQ(lng.PoolSize(), pool.size());
    EXPECT_EQ(lng.GetString(2034), "Busy");  // the first of two entries with this id
    EXPECT_EQ(lng.GetString(7), "Dup");
    EXPECT_EQ(lng.GetString(1157), "Connect %1 bps");
    EXPECT_EQ(lng.GetPhrase(1157), "Connect ");
    EXPECT_EQ(lng.GetString(999), "");
}

TEST(SFMailLng, CutsOnlyBeforePercentOne)
{
    const TSFMailLng lng = TSFMailLng::FromBytes(SFFile(1, {{1, 1}}, Pascal("100% done, %1 left")));
    EXPECT_EQ(lng.GetPhrase(1), "100% done, ");
}

TEST(SFMailLng, HostileIndexEntriesGiveEmptyPhrases)
{
    const std::string pool = Pascal("ok") + std::string(1, '\x7f') + "short";
    const TSFMailLng lng =
        TSFMailLng::FromBytes(SFFile(5, {{1, 0}, {2, 1}, {3, 4}, {4, static_cast<unsigned>(pool.size()) + 1}, {5, 0xFFFF}}, pool));
    EXPECT_EQ(lng.GetString(1), "");  // position 0 has no length byte
    EXPECT_EQ(lng.GetString(2), "ok");
    EXPECT_EQ(lng.GetString(3), "");  // length 127 runs past the pool
    EXPECT_EQ(lng.GetString(4), "");  // length byte just past the pool
    EXPECT_EQ(lng.GetString(5), "");

    // A phrase that ends exactly with the pool is whole.
    const TSFMailLng edge = TSFMailLng::FromBytes(SFFile(1, {{9, 1}}, Pascal("end")));
    EXPECT_EQ(edge.GetString(9), "end");
    // An empty pool and no index at all.
    const TSFMailLng empty = TSFMailLng::FromBytes(SFFile(0, {}, ""));
    EXPECT_EQ(empty.Count(), 0u);
    EXPECT_EQ(empty.GetString(0), "");
}

TEST(SFMailLng, ShortFilesFailToLoad)
{
    EXPECT_THROW(TSFMailLng::FromBytes(std::string(31, '\0')), ELngError);
    EXPECT_THROW(TSFMailLng::FromBytes(""), ELngError);
    // Three entries announced, two present.
    EXPECT_THROW(TSFMailLng::FromBytes(SFFile(3, {{1, 1}, {2, 1}}, "")), ELngError);
    EXPECT_THROW(TSFMailLng::FromBytes(SFFile(0xFFFF, {{1, 1}}, "xyz")), ELngError);
    // Exactly as long as the index: loads with an empty pool.
    const TSFMailLng lng = TSFMailLng::FromBytes(SFFile(2, {{1, 1}, {2, 1}}, ""));
    EXPECT_EQ(lng.PoolSize(), 0u);
    EXPECT_EQ(lng.GetString(1), "");
}

// ---- binkley.lng ------------------------------------------------------------------------

namespace {

std::string BinkFile(unsigned count, unsigned poolSize, std::initializer_list<std::uint32_t> offsets, const std::string& pool)
{
    std::string b = "ver0" + Le16(count) + Le16(poolSize) + "ver1";
    for (const std::uint32_t o : offsets)
        b += Le32(o);
    return b + pool;
}

}  // namespace

TEST(BinkLng, OffsetsKeepLowHalfMinusFour)
{
    const std::string pool = Bytes("\x01" "Busy\0" "\x02" "Calling %s\0");
    // Stored offsets are pool offsets + 4; the high half of each entry means nothing.
    const TBinkLng lng = TBinkLng::FromBytes(BinkFile(2, static_cast<unsigned>(pool.size()), {0xABCD0004u, 0x0000000Au}, pool));
    EXPECT_EQ(lng.Count(), 2u);
    EXPECT_EQ(lng.PoolSize(), pool.size());
    EXPECT_EQ(lng.GetString(0), "\x01" "Busy");
    EXPECT_EQ(lng.GetPhrase(0), "Busy");
    EXPECT_EQ(lng.GetString(1), "\x02" "Calling %s");
    EXPECT_EQ(lng.GetPhrase(1), "Calling ");
    EXPECT_EQ(lng.GetString(2), "");
    EXPECT_EQ(lng.GetString(-1), "");
}

TEST(BinkLng, HostileOffsetsGiveEmptyPhrases)
{
    const std::string pool = Bytes("\x01ok\0\x01no-nul");
    const auto size = static_cast<unsigned>(pool.size());
    const TBinkLng lng = TBinkLng::FromBytes(
        BinkFile(5, size, {4, 3, 0x00010000u, size + 4, 4 + 4}, pool + "trailing bytes are not pool"));
    EXPECT_EQ(lng.GetString(0), "\x01ok");
    EXPECT_EQ(lng.GetString(1), "");  // 3 - 4 wraps below zero
    EXPECT_EQ(lng.GetString(2), "");  // low half 0 wraps too
    EXPECT_EQ(lng.GetString(3), "");  // one past the pool
    EXPECT_EQ(lng.GetString(4), "");  // the pool ends without the NUL
    EXPECT_EQ(lng.GetPhrase(4), "");
    EXPECT_EQ(lng.PoolSize(), size);
    // A phrase of the class byte alone.
    const TBinkLng single = TBinkLng::FromBytes(BinkFile(1, 2, {4}, Bytes("x\0")));
    EXPECT_EQ(single.GetPhrase(0), "");
}

TEST(BinkLng, ShortFilesFailToLoad)
{
    EXPECT_THROW(TBinkLng::FromBytes(std::string(11, '\0')), ELngError);
    // Count larger than the file.
    EXPECT_THROW(TBinkLng::FromBytes(BinkFile(100, 0, {4, 4}, "")), ELngError);
    // Pool size larger than what follows the table.
    EXPECT_THROW(TBinkLng::FromBytes(BinkFile(1, 10, {4}, Bytes("abc\0"))), ELngError);
    const TBinkLng empty = TBinkLng::FromBytes(BinkFile(0, 0, {}, ""));
    EXPECT_EQ(empty.Count(), 0u);
    EXPECT_EQ(empty.GetString(0), "");
}

// ---- FHMail language file -----------------------------------------------------------------

TEST(FHMailLng, KeysAndOneOrTwoPhrases)
{
    const TFHMailLng lng = TFHMailLng::FromText(
        "BUSY 'Busy'\n"
        ";RING 'Ring ring'\n"
        "remote_sysop 'Sysop: ' 'from'\r\n"
        "ADJ 'a''b'\n"
        "GAP 'a' x\n"
        "DIALING 'Dial' trailing words\n"
        "DIALING 'Calling'\n");
    EXPECT_EQ(lng.GetPhrase("BUSY"), "Busy");
    EXPECT_EQ(lng.GetPhrase("BUSY2"), "BUSY2");
    EXPECT_EQ(lng.GetPhrase("RING"), "RING");
    EXPECT_EQ(lng.GetPhrase("REMOTE_SYSOP"), "Sysop: ");
    EXPECT_EQ(lng.GetPhrase("REMOTE_SYSOP2"), "from");
    // The search for a second phrase starts two characters after the first closing quote.
    EXPECT_EQ(lng.GetPhrase("ADJ"), "a");
    EXPECT_EQ(lng.GetPhrase("ADJ2"), "ADJ2");
    EXPECT_EQ(lng.GetPhrase("GAP2"), "GAP2");
    EXPECT_EQ(lng.GetPhrase("DIALING"), "Calling");

    const TStrDict& d = lng.Phrases();
    ASSERT_EQ(d.Count(), 6);
    EXPECT_EQ(d.KeyAt(1), "REMOTE_SYSOP");  // lower-case key stored upper-cased
    EXPECT_EQ(d.KeyAt(2), "REMOTE_SYSOP2");
}

TEST(FHMailLng, IncompleteLinesAddNothing)
{
    const TFHMailLng lng = TFHMailLng::FromText("\n   \nNOQUOTE text\nONE 'open\n'\nK ''\n;\n");
    ASSERT_EQ(lng.Phrases().Count(), 1);
    EXPECT_EQ(lng.Phrases().KeyAt(0), "K");
    EXPECT_EQ(lng.GetPhrase("K"), "");
    EXPECT_EQ(lng.GetPhrase("ONE"), "ONE");
}

TEST(FHMailLng, OnlyTheFirst250CharactersCount)
{
    const std::string fits = "A '" + std::string(246, 'x') + "'";    // 250 characters
    const std::string cut = "B '" + std::string(247, 'y') + "'";     // closing quote is the 251st
    const std::string second = "C 'c' '" + std::string(250, 'z') + "'";
    const TFHMailLng lng = TFHMailLng::FromText(fits + "\n" + cut + "\n" + second + "\n");
    EXPECT_EQ(lng.GetPhrase("A"), std::string(246, 'x'));
    EXPECT_EQ(lng.GetPhrase("B"), "B");
    EXPECT_EQ(lng.GetPhrase("C"), "c");
    EXPECT_EQ(lng.GetPhrase("C2"), "C2");
}

// ---- files ---------------------------------------------------------------------------------

TEST(LngTables, FilesThatCannotBeReadFailToLoad)
{
    const test::TTempDir dir;
    for (const std::string& path : {dir.Path("none.lng"), dir.Path()}) {  // missing; a directory
        EXPECT_THROW(TTMailLng{path}, ELngError);
        EXPECT_THROW(TSFMailLng{path}, ELngError);
        EXPECT_THROW(TBinkLng{path}, ELngError);
        EXPECT_THROW(TFHMailLng{path}, ELngError);
    }
}

// ---- any bytes ------------------------------------------------------------------------------

TEST(LngTables, RandomBytesNeverReadOutsideTheFile)
{
    // Small headers with plausible counts are the interesting cases, so the first bytes are
    // drawn from a narrow range half of the time.
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 24;
    };
    int sfLoaded = 0;
    int binkLoaded = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string b(next() % 96, '\0');
        for (char& c : b)
            c = static_cast<char>(round % 2 ? next() % 8 : next());
        if (round % 4 == 1 && b.size() >= 32) {
            // Keep the announced counts small enough that the tables load.
            b[28] = static_cast<char>(b[28] & 7);
            b[29] = 0;
            b[4] = static_cast<char>(b[4] & 7);
            b[5] = 0;
            b[6] = static_cast<char>(b[6] & 15);
            b[7] = 0;
        }
        const TTMailLng t = TTMailLng::FromBytes(b);
        for (int n = -1; n < 40; ++n)
            (void)t.GetPhrase(n);
        try {
            const TSFMailLng sf = TSFMailLng::FromBytes(b);
            ++sfLoaded;
            // Ask for every id the index names, whatever its position says.
            for (std::size_t at = 32; at + 1 < b.size(); at += 4)
                (void)sf.GetPhrase(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
        } catch (const ELngError&) {
        }
        try {
            const TBinkLng bink = TBinkLng::FromBytes(b);
            ++binkLoaded;
            for (int n = -1; n < 40; ++n)
                (void)bink.GetPhrase(n);
        } catch (const ELngError&) {
        }
        (void)TFHMailLng::FromText(b).Phrases().Count();
    }
    EXPECT_GT(sfLoaded, 100);
    EXPECT_GT(binkLoaded, 100);
}
