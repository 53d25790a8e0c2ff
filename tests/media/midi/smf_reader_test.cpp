#include "media/midi/smf_reader.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <random>

namespace tobira {
namespace {

using testing::SmfDamage;
using testing::SmfWriter;

SmfSong Parse(const std::vector<std::uint8_t>& bytes) {
    return ParseSmf(bytes);
}

SmfFault FaultOf(const std::vector<std::uint8_t>& bytes) {
    try {
        ParseSmf(bytes);
    } catch (const SmfError& e) {
        EXPECT_STRNE(e.what(), "");
        return e.fault();
    }
    ADD_FAILURE() << "parsed without error";
    return SmfFault::Unreadable;
}

// 480 ticks per quarter; 1920 ticks are four beats.
SmfWriter TempoChangingSong() {
    SmfWriter w(1, 480);
    w.tempoBpm(0, 0, 120);    // 4 beats: 2 s
    w.tempoBpm(0, 1920, 60);  // 4 beats: 4 s
    w.tempoBpm(0, 3840, 240); // 4 beats: 1 s
    int t = w.addTrack();
    for (std::uint32_t tick = 0; tick < 5760; tick += 240)
        w.note(t, tick, 0, 60 + static_cast<int>(tick / 240 % 12), 100, 240);
    return w;
}

TEST(SmfReader, LengthFollowsTheTempoMap) {
    struct Case {
        const char* name;
        SmfWriter writer;
        double seconds;
        std::uint32_t tenths;
        std::uint64_t lastTick;
    };
    std::vector<Case> cases;
    {
        SmfWriter w(0, 480); // no tempo event: 120 BPM
        w.note(0, 0, 0, 60, 100, 1920);
        cases.push_back({"default tempo, format 0", w, 2.0, 20, 1920});
    }
    cases.push_back(
        {"three tempos in track 0, notes in track 1", TempoChangingSong(), 7.0, 70, 5760});
    {
        SmfWriter w(1, 96);
        int t = w.addTrack();
        w.tempo(t, 0, 1000000); // tempo in a later track counts too
        w.note(t, 0, 0, 60, 100, 96);
        w.endOfTrack(t, 96 * 3); // the end-of-track event is the last event
        cases.push_back({"tempo outside track 0, late end of track", w, 3.0, 30, 288});
    }
    {
        SmfWriter w(1, 480);
        w.tempoBpm(0, 0, 60);
        w.tempoBpm(0, 0, 120); // the later of two at one tick is in force
        w.note(0, 0, 0, 60, 100, 960);
        cases.push_back({"two tempos at one tick", w, 1.0, 10, 960});
    }
    {
        SmfWriter w(1, 480);
        w.note(0, 0, 0, 60, 100, 100); // 100/960 s = 0.104 s
        cases.push_back({"rounded to the nearest tenth", w, 100.0 / 960.0, 1, 100});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmfSong song = Parse(c.writer.bytes());
        EXPECT_NEAR(song.lengthSeconds(), c.seconds, 1e-9);
        EXPECT_EQ(song.lengthTenths(), c.tenths);
        EXPECT_EQ(song.lastTick(), c.lastTick);
    }
}

TEST(SmfReader, TicksAndSecondsConvertBothWays) {
    SmfSong song = Parse(TempoChangingSong().bytes());
    EXPECT_EQ(song.division(), 480);
    EXPECT_EQ(song.format(), 1);
    EXPECT_EQ(song.trackCount(), 2);
    ASSERT_EQ(song.tempoMap().size(), 3u);
    const std::pair<std::uint64_t, double> points[] = {
        {0, 0.0}, {960, 1.0}, {1920, 2.0}, {2400, 3.0}, {3840, 6.0}, {4800, 6.5}, {5760, 7.0}};
    for (auto [tick, seconds] : points) {
        EXPECT_NEAR(song.secondsAtTick(tick), seconds, 1e-9) << tick;
        EXPECT_EQ(song.tickAtSeconds(seconds + 1e-9), tick) << seconds;
    }
    EXPECT_EQ(song.tickAtSeconds(-1.0), 0u);
    EXPECT_EQ(song.tickAtSeconds(8.0), 5760u + 1920u); // past the end the last tempo goes on
}

TEST(SmfReader, AcceptsWhatFluidSynthPlays) {
    SmfWriter w(1, 480);
    w.text(0, 0, 0x03, "\x83\x65\x83\x58\x83\x67"); // "テスト" in code page 932
    w.text(0, 0, 0x01, "\x93\xfa\x96\x7b");         // "日本"
    w.gsReset(0, 0);
    w.programChange(0, 10, 0, 19);
    w.controlChange(0, 10, 0, 7, 100);
    w.note(0, 20, 0, 60, 100, 100);
    w.note(0, 20, 0, 64, 100, 100); // running status
    std::vector<std::uint8_t> bytes = w.bytes();
    EXPECT_NO_THROW(Parse(bytes));

    // A chunk of an unknown kind before the track is skipped.
    std::vector<std::uint8_t> alien(bytes.begin(), bytes.begin() + 14);
    alien.insert(alien.end(), {'X', 'F', 'I', 'H', 0, 0, 0, 2, 0xAA, 0xBB});
    alien.insert(alien.end(), bytes.begin() + 14, bytes.end());
    EXPECT_EQ(Parse(alien).lastTick(), 120u);
}

std::vector<std::uint8_t> OneTrackFile(std::vector<std::uint8_t> events,
                                       std::uint16_t division = 480, std::uint16_t format = 0) {
    std::vector<std::uint8_t> out{'M', 'T', 'h', 'd', 0, 0, 0, 6};
    out.push_back(static_cast<std::uint8_t>(format >> 8));
    out.push_back(static_cast<std::uint8_t>(format));
    out.insert(out.end(), {0, 1});
    out.push_back(static_cast<std::uint8_t>(division >> 8));
    out.push_back(static_cast<std::uint8_t>(division));
    out.insert(out.end(), {'M', 'T', 'r', 'k', 0, 0, 0, static_cast<std::uint8_t>(events.size())});
    out.insert(out.end(), events.begin(), events.end());
    return out;
}

TEST(SmfReader, RefusesDamagedFilesWithTheirReason) {
    SmfWriter w = TempoChangingSong();
    const std::vector<std::uint8_t> end{0x00, 0xFF, 0x2F, 0x00};
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        SmfFault fault;
    };
    const Case cases[] = {
        {"empty", {}, SmfFault::NotSmf},
        {"RIFF", {'R', 'I', 'F', 'F', 0, 0, 0, 0}, SmfFault::NotSmf},
        {"header cut", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0}, SmfFault::BadHeader},
        {"header length 5", w.bytes(SmfDamage::BadHeaderLength), SmfFault::BadHeader},
        {"cut inside the last event", w.bytes(SmfDamage::TruncateInLastEvent),
         SmfFault::ChunkTruncated},
        {"track length too long", w.bytes(SmfDamage::TrackLengthTooLong), SmfFault::ChunkTruncated},
        {"event past the chunk end", w.bytes(SmfDamage::EventPastTrackEnd),
         SmfFault::EventTruncated},
        {"a track missing", w.bytes(SmfDamage::MissingTrack), SmfFault::MissingTrack},
        {"no running status", w.bytes(SmfDamage::LostRunningStatus), SmfFault::NoRunningStatus},
        {"format 2", OneTrackFile(end, 480, 2), SmfFault::UnsupportedFormat},
        {"SMPTE division", OneTrackFile(end, 0xE728), SmfFault::SmpteDivision},
        {"zero division", OneTrackFile(end, 0), SmfFault::BadDivision},
        {"five-byte delta time", OneTrackFile({0x81, 0x81, 0x81, 0x81, 0x01, 0xFF, 0x2F, 0x00}),
         SmfFault::BadDeltaTime},
        {"F7 escape", OneTrackFile({0x00, 0xF7, 0x01, 0xF8, 0x00, 0xFF, 0x2F, 0x00}),
         SmfFault::UnsupportedEvent},
        {"song position", OneTrackFile({0x00, 0xF2, 0x00, 0x00, 0x00, 0xFF, 0x2F, 0x00}),
         SmfFault::UnsupportedEvent},
        {"tempo of two bytes",
         OneTrackFile({0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1, 0x00, 0xFF, 0x2F, 0x00}),
         SmfFault::BadMetaEvent},
        {"end of track with data", OneTrackFile({0x00, 0xFF, 0x2F, 0x01, 0x00}),
         SmfFault::BadMetaEvent},
        {"tempo zero", OneTrackFile({0x00, 0xFF, 0x51, 0x03, 0, 0, 0, 0x00, 0xFF, 0x2F, 0x00}),
         SmfFault::BadTempo},
        {"sysex longer than its track", OneTrackFile({0x00, 0xF0, 0x7F, 0x41}),
         SmfFault::EventTruncated},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FaultOf(c.bytes), c.fault);
    }

    std::vector<std::uint8_t> noTracks = OneTrackFile(end);
    noTracks[11] = 0;
    EXPECT_EQ(FaultOf(noTracks), SmfFault::BadTrackCount);
    std::vector<std::uint8_t> garbageChunk = OneTrackFile(end);
    garbageChunk[14] = 0xC3;
    EXPECT_EQ(FaultOf(garbageChunk), SmfFault::BadChunk);
}

// Random cuts and bit flips of a valid file: every result is a song or an SmfError, never a
// crash or a hang.
TEST(SmfReader, SurvivesTruncationAndBitFlips) {
    SmfWriter w = TempoChangingSong();
    w.gsReset(1, 0);
    w.text(1, 0, 0x03, "\x83\x65\x83\x58\x83\x67");
    const std::vector<std::uint8_t> good = w.bytes();

    int refused = 0;
    for (std::size_t keep = 0; keep < good.size(); ++keep) {
        std::vector<std::uint8_t> cut(good.begin(), good.begin() + keep);
        try {
            ParseSmf(cut);
        } catch (const SmfError&) {
            ++refused;
        }
    }
    EXPECT_EQ(refused, static_cast<int>(good.size())); // every cut loses the end of the track

    std::mt19937 rng(1234);
    int parsed = 0;
    for (int round = 0; round < 20000; ++round) {
        std::vector<std::uint8_t> bad = good;
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < flips; ++i)
            bad[rng() % bad.size()] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
        if (rng() % 4 == 0)
            bad.resize(rng() % bad.size());
        try {
            SmfSong song = ParseSmf(bad);
            EXPECT_GE(song.lengthSeconds(), 0.0);
            ++parsed;
        } catch (const SmfError&) {
        }
    }
    EXPECT_GT(parsed, 0); // flips inside note data leave a valid file
}

TEST(SmfReader, ReadsFilesAndRefusesWhatIsNotThere) {
    testing::TempDir dir;
    TempoChangingSong().write(dir / "song.mid");
    EXPECT_EQ(ReadSmfFile(dir / "song.mid").lengthTenths(), 70u);

    for (const auto& path : {dir / "missing.mid", dir.path()}) {
        try {
            ReadSmfFile(path);
            ADD_FAILURE() << path;
        } catch (const SmfError& e) {
            EXPECT_EQ(e.fault(), SmfFault::Unreadable);
        }
    }
}

} // namespace
} // namespace tobira
