// SPDX-License-Identifier: GPL-3.0-or-later
// The sequencer device against a real ALSA sequencer, with a client of the test's own standing
// in for the sound module. Needs /dev/snd/seq; without it only the refusal is checked.
#include "media/midi/alsa_seq_sink.h"
#include "media/midi/alsa_sequencer_device.h"
#include "support/fake_ports.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"
#include "support/wait_until.h"
#include "text/cp932_convert.h"

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <poll.h>
#include <vector>

namespace tobira {
namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

bool HaveSequencer() {
    return std::filesystem::exists("/dev/snd/seq");
}

// A sequencer client with one port that takes messages, recording each with its arrival time.
class ModuleClient final {
  public:
    ModuleClient() {
        if (snd_seq_open(&seq_, "default", SND_SEQ_OPEN_INPUT, SND_SEQ_NONBLOCK) < 0)
            throw std::runtime_error("no sequencer");
        snd_seq_set_client_name(seq_, "TOBIRA test module");
        port_ = snd_seq_create_simple_port(seq_, "in",
                                           SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
                                           SND_SEQ_PORT_TYPE_MIDI_GENERIC);
    }
    ~ModuleClient() {
        if (seq_)
            snd_seq_close(seq_);
    }
    std::string name() const { return "TOBIRA test module:in"; }
    void removePort() { snd_seq_delete_simple_port(seq_, port_); }

    struct Arrival {
        Clock::time_point at;
        Bytes bytes;
    };
    // Collects what arrives for `span`: the time in which nothing more may come.
    std::vector<Arrival> collect(std::chrono::milliseconds span) {
        const auto end = Clock::now() + span;
        return collectUntil([end](const std::vector<Arrival>&) { return Clock::now() >= end; });
    }
    // Collects what arrives until `enough` says so (or a generous time has passed).
    std::vector<Arrival>
    collectUntil(const std::function<bool(const std::vector<Arrival>&)>& enough) {
        std::vector<Arrival> got;
        const auto giveUp = Clock::now() + testing::kGenerousTimeout;
        const int count = snd_seq_poll_descriptors_count(seq_, POLLIN);
        std::vector<pollfd> fds(static_cast<std::size_t>(count));
        snd_seq_poll_descriptors(seq_, fds.data(), static_cast<unsigned>(count), POLLIN);
        while (!enough(got) && Clock::now() < giveUp) {
            poll(fds.data(), fds.size(), 5);
            snd_seq_event_t* ev = nullptr;
            while (snd_seq_event_input(seq_, &ev) >= 0 && ev) {
                const auto now = Clock::now();
                Bytes b;
                switch (ev->type) {
                case SND_SEQ_EVENT_NOTEON:
                    b = {static_cast<std::uint8_t>(0x90 | ev->data.note.channel),
                         ev->data.note.note, ev->data.note.velocity};
                    break;
                case SND_SEQ_EVENT_NOTEOFF:
                    b = {static_cast<std::uint8_t>(0x80 | ev->data.note.channel),
                         ev->data.note.note, ev->data.note.velocity};
                    break;
                case SND_SEQ_EVENT_CONTROLLER:
                    b = {static_cast<std::uint8_t>(0xB0 | ev->data.control.channel),
                         static_cast<std::uint8_t>(ev->data.control.param),
                         static_cast<std::uint8_t>(ev->data.control.value)};
                    break;
                case SND_SEQ_EVENT_SYSEX: {
                    const auto* p = static_cast<const std::uint8_t*>(ev->data.ext.ptr);
                    b.assign(p, p + ev->data.ext.len);
                    break;
                }
                default:
                    continue;
                }
                got.push_back({now, std::move(b)});
            }
        }
        return got;
    }

  private:
    snd_seq_t* seq_ = nullptr;
    int port_ = -1;
};

std::size_t NoteOns(const std::vector<ModuleClient::Arrival>& got) {
    return static_cast<std::size_t>(std::count_if(got.begin(), got.end(), [](const auto& a) {
        return a.bytes[0] == 0x90 && a.bytes[2] > 0;
    }));
}

TEST(AlsaSequencer, PlaysToARealPortStopsWithSilenceAndNoticesAPortThatGoes) {
    testing::FakeUiPost uiPost;
    testing::TempDir dir;
    testing::SmfWriter w(1, 480);
    w.tempoBpm(0, 0, 120);
    w.tempoBpm(0, 960, 240); // after half a second, twice as fast
    w.gsReset(0, 0);
    for (std::uint32_t i = 0; i < 8; ++i)
        w.note(0, i * 240, 0, 60 + static_cast<int>(i), 100, 120);
    const auto song = dir.path() / "song.mid";
    w.write(song);

    std::vector<NotifyValue> notices;
    AlsaSequencerDevice device(uiPost);
    device.setNotifyHandler([&notices](NotifyValue v) { notices.push_back(v); });
    device.setFileName(*Cp932FromPath(song));

    if (!HaveSequencer()) {
        EXPECT_TRUE(ListAlsaSeqPorts().empty());
        device.setPort("128:0");
        try {
            device.open();
            ADD_FAILURE() << "opened without a sequencer";
        } catch (const DeviceError& e) {
            EXPECT_NE(Cp932ToUtf8(e.what()).find("/dev/snd/seq"), std::string::npos) << e.what();
        }
        EXPECT_FALSE(device.isOpen());
        GTEST_SKIP() << "no ALSA sequencer on this machine (/dev/snd/seq is missing): the "
                        "real-port part did not run";
    }

    ModuleClient module;
    const auto ports = ListAlsaSeqPorts();
    ASSERT_NE(std::find(ports.begin(), ports.end(), module.name()), ports.end());
    device.setPort(Utf8ToCp932(module.name()));
    device.open();
    EXPECT_EQ(device.length(), 13u) << "0.5 s at 120 BPM, then 0.75 s at 240 BPM";

    // Whole song: every note at its time on the tempo map, the SysEx whole, one notice.
    const auto start = Clock::now();
    device.play();
    auto got = module.collectUntil([&](const auto& sofar) {
        uiPost.runPending();
        return !notices.empty() && NoteOns(sofar) == 8;
    });
    EXPECT_EQ(notices, std::vector<NotifyValue>{NotifyValue::Successful});
    EXPECT_EQ(device.mode(), DeviceMode::Stopped);
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got[0].bytes,
              (Bytes{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7}));
    std::vector<Clock::time_point> noteOns;
    for (const auto& a : got)
        if (a.bytes[0] == 0x90 && a.bytes[2] > 0)
            noteOns.push_back(a.at);
    ASSERT_EQ(noteOns.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        const double expected = i < 4 ? i * 0.25 : 0.5 + (i - 4) * 0.125;
        const double actual = std::chrono::duration<double>(noteOns[i] - start).count();
        EXPECT_NEAR(actual, expected, 0.02) << "note " << i;
    }

    // Stop mid-song: reset controllers and all notes off on every channel, nothing after.
    device.play();
    module.collectUntil([](const auto& sofar) { return NoteOns(sofar) >= 2; });
    device.stop();
    // Longer than the device sends ahead of time: a note it had queued would come in here.
    got = module.collect(std::chrono::milliseconds(400));
    std::size_t resets = 0, offs = 0, notes = 0;
    for (const auto& a : got) {
        if ((a.bytes[0] & 0xF0) == 0xB0 && a.bytes[1] == 121)
            ++resets;
        else if ((a.bytes[0] & 0xF0) == 0xB0 && a.bytes[1] == 123)
            ++offs;
        else if (a.bytes[0] == 0x90 && a.bytes[2] > 0)
            ++notes;
    }
    EXPECT_EQ(resets, 16u);
    EXPECT_EQ(offs, 16u);
    EXPECT_EQ(notes, 0u) << "what was queued ahead is forgotten";

    // The module goes away mid-song: one Failure, a reason, the device closed.
    uiPost.runPending();
    notices.clear();
    device.play();
    module.collectUntil([](const auto& sofar) { return NoteOns(sofar) >= 1; });
    module.removePort();
    EXPECT_TRUE(testing::WaitUntil([&] {
        uiPost.runPending();
        return !notices.empty();
    }));
    EXPECT_EQ(notices, std::vector<NotifyValue>{NotifyValue::Failure});
    EXPECT_FALSE(device.isOpen());
    EXPECT_NE(Cp932ToUtf8(device.takeProblem()).find(module.name()), std::string::npos);
}

} // namespace
} // namespace tobira
