// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/smf_writer.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace tobira::testing {

namespace {

void PutVarLen(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t buf[5];
    int n = 0;
    buf[n++] = value & 0x7F;
    while (value >>= 7)
        buf[n++] = static_cast<std::uint8_t>((value & 0x7F) | 0x80);
    while (n > 0)
        out.push_back(buf[--n]);
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

std::uint8_t Data(int v) {
    return static_cast<std::uint8_t>(v & 0x7F);
}

} // namespace

SmfWriter::SmfWriter(int format, int division) : format_(format), division_(division), tracks_(1) {}

int SmfWriter::addTrack() {
    if (format_ == 0)
        throw std::logic_error("format 0 has one track");
    tracks_.emplace_back();
    return static_cast<int>(tracks_.size()) - 1;
}

void SmfWriter::add(int track, std::uint32_t tick, std::vector<std::uint8_t> data, int order) {
    Track& t = tracks_.at(static_cast<std::size_t>(track));
    t.events.push_back(Event{tick, order, sequence_++, std::move(data)});
    if (!t.explicitEnd)
        t.endTick = std::max(t.endTick, tick);
}

void SmfWriter::note(int track, std::uint32_t tick, int channel, int key, int velocity,
                     std::uint32_t duration) {
    const auto ch = static_cast<std::uint8_t>(channel & 0x0F);
    add(track, tick, {static_cast<std::uint8_t>(0x90 | ch), Data(key), Data(velocity)});
    // Note-off as a note-on with velocity 0, so that running status carries through.
    add(track, tick + duration, {static_cast<std::uint8_t>(0x90 | ch), Data(key), 0}, 0);
}

void SmfWriter::noteOn(int track, std::uint32_t tick, int channel, int key, int velocity) {
    add(track, tick,
        {static_cast<std::uint8_t>(0x90 | (channel & 0x0F)), Data(key), Data(velocity)});
}

void SmfWriter::programChange(int track, std::uint32_t tick, int channel, int program) {
    add(track, tick, {static_cast<std::uint8_t>(0xC0 | (channel & 0x0F)), Data(program)});
}

void SmfWriter::controlChange(int track, std::uint32_t tick, int channel, int control, int value) {
    add(track, tick,
        {static_cast<std::uint8_t>(0xB0 | (channel & 0x0F)), Data(control), Data(value)});
}

void SmfWriter::pitchBend(int track, std::uint32_t tick, int channel, int value) {
    add(track, tick,
        {static_cast<std::uint8_t>(0xE0 | (channel & 0x0F)), Data(value & 0x7F),
         Data(value >> 7 & 0x7F)});
}

void SmfWriter::tempo(int track, std::uint32_t tick, std::uint32_t micros) {
    add(track, tick,
        {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(micros >> 16),
         static_cast<std::uint8_t>(micros >> 8), static_cast<std::uint8_t>(micros)});
}

void SmfWriter::tempoBpm(int track, std::uint32_t tick, double bpm) {
    tempo(track, tick, static_cast<std::uint32_t>(std::lround(60e6 / bpm)));
}

void SmfWriter::text(int track, std::uint32_t tick, std::uint8_t type, const std::string& cp932) {
    std::vector<std::uint8_t> data{0xFF, type};
    PutVarLen(data, static_cast<std::uint32_t>(cp932.size()));
    data.insert(data.end(), cp932.begin(), cp932.end());
    add(track, tick, std::move(data));
}

void SmfWriter::sysex(int track, std::uint32_t tick, const std::vector<std::uint8_t>& body) {
    std::vector<std::uint8_t> data{0xF0};
    PutVarLen(data, static_cast<std::uint32_t>(body.size()));
    data.insert(data.end(), body.begin(), body.end());
    add(track, tick, std::move(data));
}

void SmfWriter::gsReset(int track, std::uint32_t tick) {
    sysex(track, tick, {0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7});
}

void SmfWriter::endOfTrack(int track, std::uint32_t tick) {
    Track& t = tracks_.at(static_cast<std::size_t>(track));
    t.endTick = tick;
    t.explicitEnd = true;
}

std::vector<std::uint8_t> SmfWriter::trackBytes(const Track& track, bool dropFirstStatus) const {
    std::vector<Event> events = track.events;
    std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        if (a.tick != b.tick)
            return a.tick < b.tick;
        if (a.order != b.order)
            return a.order < b.order;
        return a.sequence < b.sequence;
    });
    std::vector<std::uint8_t> out;
    std::uint32_t now = 0;
    int running = -1;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const Event& e = events[i];
        PutVarLen(out, e.tick - now);
        now = e.tick;
        const std::uint8_t status = e.data[0];
        const bool channelEvent = status < 0xF0;
        const bool omit = (channelEvent && status == running) || (i == 0 && dropFirstStatus);
        out.insert(out.end(), e.data.begin() + (omit ? 1 : 0), e.data.end());
        running = channelEvent ? status : -1;
    }
    PutVarLen(out, std::max(track.endTick, now) - now);
    out.insert(out.end(), {0xFF, 0x2F, 0x00});
    return out;
}

std::vector<std::uint8_t> SmfWriter::bytes(SmfDamage damage) const {
    std::vector<std::uint8_t> out{'M', 'T', 'h', 'd'};
    Put32(out, damage == SmfDamage::BadHeaderLength ? 5 : 6);
    Put16(out, static_cast<std::uint16_t>(format_));
    const std::size_t count = damage == SmfDamage::HeaderOnly
                                  ? 0
                                  : tracks_.size() + (damage == SmfDamage::MissingTrack ? 1 : 0);
    Put16(out, static_cast<std::uint16_t>(count));
    Put16(out, static_cast<std::uint16_t>(division_));
    if (damage == SmfDamage::HeaderOnly)
        return out;
    for (std::size_t i = 0; i < tracks_.size(); ++i) {
        const bool lose = damage == SmfDamage::LostRunningStatus && i == 0;
        std::vector<std::uint8_t> body = trackBytes(tracks_[i], lose);
        const bool last = i + 1 == tracks_.size();
        std::uint32_t length = static_cast<std::uint32_t>(body.size());
        if (last && damage == SmfDamage::TrackLengthTooLong)
            length += 16;
        if (last && damage == SmfDamage::EventPastTrackEnd)
            length -= 2;
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        Put32(out, length);
        out.insert(out.end(), body.begin(), body.end());
    }
    if (damage == SmfDamage::TruncateInLastEvent) {
        // Keep the chunk length as written: drop the end-of-track event and one byte more.
        out.resize(out.size() - 4);
    }
    return out;
}

void SmfWriter::write(const std::filesystem::path& path, SmfDamage damage) const {
    WriteBytes(path, bytes(damage));
}

std::vector<std::uint8_t> DenseSmf(std::size_t pairs, const std::vector<std::uint32_t>& at,
                                   std::uint32_t endTick) {
    std::vector<std::uint8_t> track;
    track.reserve(pairs * 6 * at.size() + 64);
    std::uint32_t tick = 0;
    int running = -1;
    for (std::uint32_t instant : at) {
        for (std::size_t i = 0; i < pairs; ++i) {
            // Melodic channels in turn, 128 keys each; the note-off is a note-on at velocity 0.
            const std::size_t c = i / 128 % 15;
            const int status = 0x90 | static_cast<int>(c < 9 ? c : c + 1);
            const auto key = static_cast<std::uint8_t>(i % 128);
            PutVarLen(track, i == 0 ? instant - tick : 0);
            if (status != running)
                track.push_back(static_cast<std::uint8_t>(running = status));
            track.insert(track.end(), {key, 100, 0, key, 0});
        }
        tick = instant;
    }
    PutVarLen(track, endTick - tick);
    track.insert(track.end(), {0xFF, 0x2F, 0x00});
    std::vector<std::uint8_t> out{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0};
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    Put32(out, static_cast<std::uint32_t>(track.size()));
    out.insert(out.end(), track.begin(), track.end());
    return out;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

} // namespace tobira::testing
