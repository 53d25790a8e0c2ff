// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/smf_track_parser.h"

#include <string_view>

namespace tobira {

namespace {

bool SameLetters(std::span<const std::uint8_t> text, std::string_view lower) {
    if (text.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::uint8_t c = text[i];
        if ((c >= 'A' && c <= 'Z' ? c + 32 : c) != static_cast<std::uint8_t>(lower[i]))
            return false;
    }
    return true;
}

} // namespace

void SmfTrackParser::noteLoopControl(std::uint8_t control) {
    SmfLoopMarks& marks = result_.loop;
    if (control == 111 && !marks.control111)
        marks.control111 = tick_;
    else if (control == 116 && !marks.control116)
        marks.control116 = tick_;
    else if (control == 117 &&
             (!marks.control117 || (marks.control116 && *marks.control117 <= *marks.control116)))
        marks.control117 = tick_;
}

void SmfTrackParser::noteLoopMarker(std::size_t length) {
    const auto text = smf_.subspan(pos_, length);
    SmfLoopMarks& marks = result_.loop;
    if (!marks.startMarker && SameLetters(text, "loopstart"))
        marks.startMarker = tick_;
    else if (!marks.endMarker && SameLetters(text, "loopend"))
        marks.endMarker = tick_;
}

SmfTrackParser::SmfTrackParser(std::span<const std::uint8_t> smf, std::size_t base,
                               std::size_t begin, std::size_t end, std::uint64_t startTick,
                               std::vector<SmfTempo>* tempos, std::vector<SmfMessage>* messages)
    : smf_(smf), base_(base), pos_(begin), end_(end), tempos_(tempos), messages_(messages),
      tick_(startTick) {
    result_.endTick = startTick;
}

bool SmfTrackParser::readVarLen(std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (pos_ >= end_)
            return false;
        const std::uint8_t c = smf_[pos_++];
        value = (value << 7) | (c & 0x7F);
        if (!(c & 0x80))
            return true;
    }
    return false;
}

SmfTrackResult SmfTrackParser::parse() {
    SmfMessage m;
    while (next(m))
        if (messages_ && (!keep_ || keep_(smf_, m.offset - base_, m.status)))
            messages_->push_back(m);
    return result_;
}

bool SmfTrackParser::next(SmfMessage& message) {
    SmfTrackResult& result = result_;
    while (!done_ && pos_ < end_) {
        const std::size_t eventStart = pos_;
        std::uint32_t delta = 0;
        if (!readVarLen(delta)) {
            result.brokenAt = eventStart;
            break;
        }
        tick_ += delta;
        if (pos_ >= end_)
            break; // a delta time and nothing after it: the end of track is missing
        std::uint8_t status = smf_[pos_];
        if (status & 0x80) {
            ++pos_;
        } else if (running_ >= 0) {
            status = static_cast<std::uint8_t>(running_);
        } else {
            result.brokenAt = pos_;
            break;
        }

        if (status < 0xF0) {
            running_ = status;
            const std::size_t length = (status & 0xE0) == 0xC0 ? 1 : 2; // C0 and D0 take one
            if (!has(length)) {
                result.brokenAt = eventStart;
                break;
            }
            // A data byte with the high bit set (a velocity or controller value written as 0xFF
            // by some editors) is data to both players a user already has, never a status:
            // TiMidity++ keeps its low seven bits, FluidSynth 2.3.1's own player plays it as 127
            // (a velocity of 0x81 sounds as loud as 127, measured with its fluidsynth program).
            // FluidSynth plays the songs here, so it is read as 127 (SmfDataByte).
            for (std::size_t i = 0; i < length; ++i)
                if (smf_[pos_ + i] & 0x80)
                    ++result.clampedBytes;
            if ((status & 0xF0) == 0xB0)
                noteLoopControl(smf_[pos_]);
            message = SmfMessage{tick_, static_cast<std::uint32_t>(base_ + pos_),
                                 static_cast<std::uint32_t>(length), status};
            pos_ += length;
            ++result.playable;
            result.endTick = tick_;
            return true;
        }
        if (status == 0xF0 || status == 0xF7) {
            std::uint32_t length = 0;
            if (!readVarLen(length) || !has(length)) {
                result.brokenAt = eventStart;
                break;
            }
            const std::size_t at = pos_;
            pos_ += length;
            result.endTick = tick_;
            // F7 packets continue a system exclusive message or carry raw bytes; neither is
            // needed to play the song, and a module could be left waiting by them.
            if (status == 0xF0) {
                message = SmfMessage{tick_, static_cast<std::uint32_t>(base_ + at), length, status};
                ++result.playable;
                return true;
            }
        } else if (status == 0xFF) {
            std::uint32_t length = 0;
            if (!has(1)) {
                result.brokenAt = eventStart;
                break;
            }
            const std::uint8_t type = smf_[pos_++];
            if (!readVarLen(length) || !has(length)) {
                result.brokenAt = eventStart;
                break;
            }
            if (type == 0x51 && length >= 3 && tempos_) {
                const std::uint32_t tempo = (std::uint32_t{smf_[pos_]} << 16) |
                                            (std::uint32_t{smf_[pos_ + 1]} << 8) | smf_[pos_ + 2];
                if (tempo > 0)
                    tempos_->push_back(SmfTempo{tick_, tempo});
            }
            if (type == 0x06)
                noteLoopMarker(length);
            if (texts_ && type >= 0x01 && type <= 0x0F)
                texts_->push_back(SmfText{
                    tick_, track_, type,
                    std::string(smf_.begin() + static_cast<std::ptrdiff_t>(pos_),
                                smf_.begin() + static_cast<std::ptrdiff_t>(pos_ + length))});
            pos_ += length;
            if (type == 0x2F) {
                result.endTick = tick_;
                break; // anything after the end of track is never played
            }
            result.endTick = tick_;
        } else {
            // System common and real-time bytes have no place in a file; skip them with the
            // data bytes their kind defines.
            std::size_t length = status == 0xF2 ? 2 : status == 0xF1 || status == 0xF3 ? 1 : 0;
            for (; length > 0 && pos_ < end_ && smf_[pos_] < 0x80; --length)
                ++pos_;
            ++result.strayBytes;
            result.endTick = tick_;
        }
    }
    done_ = true;
    return false;
}

} // namespace tobira
