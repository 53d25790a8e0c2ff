// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/fluidsynth/fluid_synthesizer.h"

#include "media/midi/fluidsynth/fluid_level_probe.h"
#include "media/midi/fluidsynth/fluid_sfont_file.h"
#include "files/regular_file.h"
#include "media/media_device.h"
#include "media/midi/midi_soundfont.h"
#include "text/cp932_convert.h"

#include <link.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>

namespace tobira {

namespace {

void DiscardLog(int, const char*, void*) {}

#ifndef NDEBUG
void DebugLog(int level, const char* message, void*) {
    std::fprintf(stderr, "fluidsynth[%d]: %s\n", level, message);
}
#endif

// FluidSynth's logging is process-wide; the player has no log, so it goes nowhere (to stderr in
// debug builds, where it helps).
void QuietFluidLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level) {
#ifdef NDEBUG
            fluid_set_log_function(level, DiscardLog, nullptr);
#else
            fluid_set_log_function(level, level <= FLUID_WARN ? DebugLog : DiscardLog, nullptr);
#endif
        }
    });
}

// Every instrument the SoundFont holds, for the sound module's choices.
PresetCatalog SoundFontCatalog(fluid_synth_t* synth, int soundFontId) {
    std::vector<SynthPreset> presets;
    if (fluid_sfont_t* sfont = fluid_synth_get_sfont_by_id(synth, soundFontId)) {
        fluid_sfont_iteration_start(sfont);
        while (fluid_preset_t* preset = fluid_sfont_iteration_next(sfont))
            presets.push_back({fluid_preset_get_banknum(preset), fluid_preset_get_num(preset)});
    }
    return PresetCatalog(std::move(presets));
}

} // namespace

RegularFile OpenFluidSoundFont(const std::filesystem::path& soundFont) {
    QuietFluidLog();
    if (std::string reason = SoundFontFault(soundFont); !reason.empty())
        throw SoundFontError(SoundFontMessage(soundFont, reason));
    std::optional<RegularFile> checked;
    try {
        checked = RegularFile::open(soundFont, read_limit::SoundFont);
    } catch (const FileError& e) {
        throw SoundFontError(SoundFontMessage(soundFont, Utf8ToCp932("ファイル") + e.cause()));
    }
    // Checked again on the descriptor kept: the name may mean another file by now. Handing
    // FluidSynth a file that is not a SoundFont makes GLib print a warning that cannot be
    // silenced.
    const std::string head = checked->readHead(12);
    const bool riff = head.size() == 12 && head.compare(0, 4, "RIFF") == 0;
    if (riff && head.compare(8, 4, "DLS ") == 0) {
        if (const std::string problem = FluidDlsProblem(); !problem.empty())
            throw SoundFontError(
                SoundFontMessage(soundFont, Utf8ToCp932("DLS 形式です（") + problem + ")"));
        // The collection header usually comes first and counts the instruments; FluidSynth's
        // loader would fail on an empty collection only later, on the loader thread.
        const std::string start = checked->readHead(20);
        const auto byte = [&start](std::size_t i) {
            return static_cast<std::uint32_t>(static_cast<unsigned char>(start[i]));
        };
        if (start.size() < 20 ||
            (start.compare(12, 4, "colh") == 0 &&
             (byte(16) | byte(17) << 8 | byte(18) << 16 | byte(19) << 24) == 0))
            throw SoundFontError(
                SoundFontMessage(soundFont, Utf8ToCp932("DLS 形式ですが、楽器がありません")));
        return std::move(*checked);
    }
    if (!riff || head.compare(8, 4, "sfbk") != 0)
        throw SoundFontError(
            SoundFontMessage(soundFont, Utf8ToCp932("SF2 形式のサウンドフォントではありません")));
    return std::move(*checked);
}

void CheckFluidSoundFont(const std::filesystem::path& soundFont) {
    OpenFluidSoundFont(soundFont);
}

std::string FluidDlsProblem() {
    // FluidSynth reads DLS only through libinstpatch, which its library then links.
    bool linked = false;
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* found) {
            if (info->dlpi_name && std::strstr(info->dlpi_name, "libinstpatch"))
                *static_cast<bool*>(found) = true;
            return 0;
        },
        &linked);
    if (linked)
        return {};
    return Utf8ToCp932("この FluidSynth は libinstpatch なしで作られていて、DLS を読めません");
}

FluidSynthesizer::FluidSynthesizer(const std::filesystem::path& soundFont, double probeRms,
                                   int sampleRate)
    : soundFont_(soundFont), limiter_(sampleRate) {
    file_ = OpenFluidSoundFont(soundFont);

    settings_.reset(new_fluid_settings());
    if (!settings_)
        throw DeviceError(Utf8ToCp932("ＭＩＤＩシンセサイザーを用意できません"));
    fluid_settings_t* s = settings_.get();
    fluid_settings_setnum(s, "synth.sample-rate", sampleRate);
    fluid_settings_setnum(s, "synth.gain", 1.0);
    // Before 2.4 FluidSynth obeys GS resets only for device id 16; the reset songs need them.
    fluid_settings_setint(s, "synth.device-id", 16);
    // A General MIDI SoundFont is 150 MB of samples, of which a song uses a tenth. Only the
    // instruments selected on a channel or held for the coming song are kept in memory; the
    // device has them loaded on its loader thread before a song starts (holdPresets), so that a
    // program change on the audio thread never waits for the disk.
    fluid_settings_setint(s, "synth.dynamic-sample-loading", 1);
    // Locking the samples in memory makes each load several times slower, and tens of
    // megabytes exceed the usual per-user limit on locked memory anyway.
    fluid_settings_setint(s, "synth.lock-memory", 0);
    // Each channel in a group of its own, for the parts' meters.
    FluidPartRender::Configure(s);

    synth_.reset(new_fluid_synth(s));
    if (!synth_)
        throw DeviceError(Utf8ToCp932("ＭＩＤＩシンセサイザーを用意できません"));
    // FluidSynth reads the file checked above, never the name again.
    if (!AddDescriptorSoundFontLoader(synth_.get(), s))
        throw DeviceError(Utf8ToCp932("ＭＩＤＩシンセサイザーを用意できません"));
    // A DLS collection goes to FluidSynth's DLS loader, which opens files by name alone: the
    // descriptor's own /proc name still means the file checked.
    const bool dls = file_->readHead(12).compare(8, 4, "DLS ") == 0;
    const std::string name =
        dls ? "/proc/self/fd/" + std::to_string(file_->fd()) : DescriptorSoundFontName(*file_);
    soundFontId_ = fluid_synth_sfload(synth_.get(), name.c_str(), 1);
    if (soundFontId_ == FLUID_FAILED)
        throw SoundFontError(SoundFontMessage(
            soundFont, Utf8ToCp932(dls ? "DLS 形式ですが、壊れているか FluidSynth が読めません"
                                       : "壊れているか、FluidSynth が読めない形式です")));

    module_ = SoundModule(SoundFontCatalog(synth_.get(), soundFontId_));

    // Measured at gain 1; the probe's level scales with the gain.
    const double measured = MeasureProbeRms(synth_.get(), sampleRate);
    gain_ = measured > 0.0 ? std::clamp(probeRms / measured, 0.1, 4.0) : 1.0;
    fluid_synth_set_gain(synth_.get(), static_cast<float>(gain_));
    moduleFx_.emplace(synth_.get(), gain_);
}

FluidSynthesizer::~FluidSynthesizer() = default;

void FluidSynthesizer::holdPresets(std::span<const SynthPreset> presets) {
    fluid_synth_t* synth = synth_.get();
    std::set<SynthPreset> wanted(presets.begin(), presets.end());
    // A reset selects piano and the standard kit.
    wanted.insert({0, 0});
    wanted.insert({128, 0});
    // Programs carry over from song to song: what the channels hold now may be selected again.
    const int channels = fluid_synth_count_midi_channels(synth);
    for (int channel = 0; channel < channels; ++channel)
        if (fluid_preset_t* preset = fluid_synth_get_channel_preset(synth, channel))
            wanted.insert({fluid_preset_get_banknum(preset), fluid_preset_get_num(preset)});
    // Pins survive resets and program changes; only unpinned instruments that no channel
    // selects are unloaded. New pins first, so that what both songs use stays loaded.
    for (const SynthPreset& p : wanted)
        if (!held_.contains(p))
            fluid_synth_pin_preset(synth, soundFontId_, p.bank, p.program); // absent: ignored
    for (const SynthPreset& p : held_)
        if (!wanted.contains(p))
            fluid_synth_unpin_preset(synth, soundFontId_, p.bank, p.program);
    held_ = std::move(wanted);
}

void FluidSynthesizer::releaseNotes() {
    fluid_synth_t* synth = synth_.get();
    // All-notes-off leaves notes held by a pedal sounding: lift the pedals first.
    const int channels = fluid_synth_count_midi_channels(synth);
    for (int channel = 0; channel < channels; ++channel) {
        fluid_synth_cc(synth, channel, 64, 0); // sustain
        fluid_synth_cc(synth, channel, 66, 0); // sostenuto
    }
    fluid_synth_all_notes_off(synth, -1);
}

void FluidSynthesizer::cutSound() {
    fluid_synth_all_sounds_off(synth_.get(), -1);
}

void FluidSynthesizer::resetSound() {
    fluid_synth_system_reset(synth_.get());
    if (module_.mode() == ModuleMode::Unset)
        return;
    module_.resetMode();
    for (int c = 0; c < SoundModule::kChannels; ++c)
        applyVoice(c);
}

void FluidSynthesizer::render(float* out, std::size_t frames) {
    partRender_.render(synth_.get(), out, frames, moduleFx_->leftGain(), moduleFx_->rightGain());
    limiter_.process(out, frames);
}

void FluidSynthesizer::silenceParts(std::uint16_t parts) {
    const std::uint16_t newly = parts & ~silenced_;
    silenced_ = parts;
    for (int c = 0; c < 16; ++c)
        if (newly >> c & 1)
            fluid_synth_all_sounds_off(synth_.get(), c);
}

ModuleStatus FluidSynthesizer::moduleStatus() const {
    const ModuleEffectsState& s = effects_.state();
    return {module_.mode(), s.masterVolume, s.reverbType, s.chorusType};
}

void FluidSynthesizer::send(std::span<const std::uint8_t> m) {
    if (m[0] >= 0xF0 || moduleFx_->plainRouting()) {
        sendPart(m);
        return;
    }
    // Receive channels set by the song: each part that listens to this channel plays it.
    std::array<std::uint8_t, 3> copy{};
    const std::size_t size = std::min(m.size(), copy.size());
    std::copy_n(m.begin(), size, copy.begin());
    const std::uint16_t parts = moduleFx_->listeners(m[0] & 0x0F);
    for (int part = 0; part < 16; ++part)
        if (parts >> part & 1) {
            copy[0] = static_cast<std::uint8_t>((m[0] & 0xF0) | part);
            sendPart({copy.data(), size});
        }
}

void FluidSynthesizer::sendPart(std::span<const std::uint8_t> m) {
    fluid_synth_t* synth = synth_.get();
    const int channel = m[0] & 0x0F;
    switch (m[0] & 0xF0) {
    case 0x80:
        fluid_synth_noteoff(synth, channel, m[1]);
        return;
    case 0x90:
        if (m[2] == 0)
            fluid_synth_noteoff(synth, channel, m[1]);
        else if (!(silenced_ >> channel & 1))
            fluid_synth_noteon(synth, channel, m[1], m[2]);
        return;
    case 0xA0:
        fluid_synth_key_pressure(synth, channel, m[1], m[2]);
        return;
    case 0xD0:
        fluid_synth_channel_pressure(synth, channel, m[1]);
        return;
    case 0xE0:
        fluid_synth_pitch_bend(synth, channel, m[1] | (m[2] << 7));
        return;
    default:
        break; // bank selects, program changes and system exclusive: the module decides
    }
    const SoundModule::Outcome outcome = module_.feed(m);
    switch (outcome.action) {
    case SoundModule::Action::Pass:
        pass(m);
        applySettings(m);
        return;
    case SoundModule::Action::Drop:
        return;
    case SoundModule::Action::Select:
        pass(m);
        applyVoice(outcome.channel);
        if (m[0] == 0xF0)
            moduleFx_->drumsChanged(effects_.state(), drumParts());
        return;
    case SoundModule::Action::Reset:
        // Done here rather than by FluidSynth: its GM System On would turn bank select off
        // for the synthesizer's whole life, and it knows neither XG nor the 88's mode set.
        fluid_synth_system_reset(synth);
        for (int c = 0; c < SoundModule::kChannels; ++c)
            applyVoice(c);
        effects_.reset(module_.mode());
        moduleFx_->applyAll(effects_.state(), drumParts());
        return;
    }
}

void FluidSynthesizer::applySettings(std::span<const std::uint8_t> m) {
    if ((m[0] & 0xF0) != 0xB0 && m[0] != 0xF0)
        return;
    const ModuleEffects::Changes changes = effects_.feed(m);
    if (changes.count == 0)
        return;
    const std::uint16_t drums = drumParts();
    for (const ModuleSetting& setting : changes.all())
        moduleFx_->apply(setting, effects_.state(), drums);
}

std::uint16_t FluidSynthesizer::drumParts() const {
    std::uint16_t drums = 0;
    for (int c = 0; c < SoundModule::kChannels; ++c)
        if (module_.voice(c).drum)
            drums |= static_cast<std::uint16_t>(1u << c);
    return drums;
}

void FluidSynthesizer::pass(std::span<const std::uint8_t> m) {
    fluid_synth_t* synth = synth_.get();
    const int channel = m[0] & 0x0F;
    if ((m[0] & 0xF0) == 0xB0) {
        fluid_synth_cc(synth, channel, m[1], m[2]);
    } else if ((m[0] & 0xF0) == 0xC0) {
        fluid_synth_program_change(synth, channel, m[1]);
    } else if (m[0] == 0xF0 && m.size() >= 2) {
        // FluidSynth takes the body, without F0 and F7.
        const std::size_t body = m.size() - (m.back() == 0xF7 ? 2 : 1);
        fluid_synth_sysex(synth, reinterpret_cast<const char*>(m.data() + 1),
                          static_cast<int>(body), nullptr, nullptr, nullptr, 0);
    }
}

void FluidSynthesizer::applyVoice(int channel) {
    const ChannelVoice& voice = module_.voice(channel);
    fluid_synth_t* synth = synth_.get();
    fluid_synth_set_channel_type(synth, channel,
                                 voice.drum ? CHANNEL_TYPE_DRUM : CHANNEL_TYPE_MELODIC);
    // Selected outright: a channel made a drum part keeps no melodic bank of before.
    fluid_synth_program_select(synth, channel, soundFontId_, voice.preset.bank,
                               voice.preset.program);
}

std::optional<SynthPreset> FluidSynthesizer::channelPreset(int channel) const {
    fluid_preset_t* preset = fluid_synth_get_channel_preset(synth_.get(), channel);
    if (!preset)
        return std::nullopt;
    return SynthPreset{fluid_preset_get_banknum(preset), fluid_preset_get_num(preset)};
}

int FluidSynthesizer::activeVoices() const {
    return fluid_synth_get_active_voice_count(synth_.get());
}

} // namespace tobira
