// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/alsa_seq_sink.h"

#include "media/media_device.h"
#include "text/cp932_convert.h"

#include <alsa/asoundlib.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace tobira {
namespace {

constexpr const char* kClientName = "TOBIRA";

struct PortAddress {
    int client = -1;
    int port = -1;
};

snd_seq_t* OpenSeq() {
    snd_seq_t* seq = nullptr;
    if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0)
        return nullptr;
    return seq;
}

bool IsModulePort(const snd_seq_port_info_t* info) {
    constexpr unsigned kWanted = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
    const unsigned caps = snd_seq_port_info_get_capability(info);
    return (caps & kWanted) == kWanted && !(caps & SND_SEQ_PORT_CAP_NO_EXPORT);
}

// Visits every port a module can be reached at, with its listed name.
template <typename Visit> void ForEachModulePort(snd_seq_t* seq, Visit visit) {
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    const int self = snd_seq_client_id(seq);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(seq, client) >= 0) {
        const int id = snd_seq_client_info_get_client(client);
        if (id == SND_SEQ_CLIENT_SYSTEM || id == self)
            continue;
        snd_seq_port_info_set_client(port, id);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(seq, port) >= 0) {
            if (!IsModulePort(port))
                continue;
            const std::string name = std::string(snd_seq_client_info_get_name(client)) + ":" +
                                     snd_seq_port_info_get_name(port);
            if (visit(name, PortAddress{id, snd_seq_port_info_get_port(port)}))
                return;
        }
    }
}

std::string NoPortText(const std::string& utf8Name) {
    return Utf8ToCp932("ＭＩＤＩ出力先【" + utf8Name +
                       "】が見つかりません。音源の電源と接続を確かめてください");
}

snd_seq_real_time_t RealTime(std::uint64_t micros) {
    snd_seq_real_time_t t{};
    t.tv_sec = static_cast<unsigned>(micros / 1'000'000);
    t.tv_nsec = static_cast<unsigned>(micros % 1'000'000 * 1000);
    return t;
}

// A channel or system exclusive message as a sequencer event; false for anything else.
bool Encode(std::span<const std::uint8_t> m, snd_seq_event_t& ev) {
    if (m.empty())
        return false;
    const std::uint8_t status = m[0];
    if (status == 0xF0) {
        snd_seq_ev_set_sysex(&ev, m.size(), const_cast<std::uint8_t*>(m.data()));
        return true;
    }
    const std::size_t need = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 2 : 3;
    if (status < 0x80 || status >= 0xF0 || m.size() < need)
        return false;
    const int channel = status & 0x0F;
    switch (status & 0xF0) {
    case 0x80:
        snd_seq_ev_set_noteoff(&ev, channel, m[1], m[2]);
        break;
    case 0x90:
        snd_seq_ev_set_noteon(&ev, channel, m[1], m[2]);
        break;
    case 0xA0:
        snd_seq_ev_set_keypress(&ev, channel, m[1], m[2]);
        break;
    case 0xB0:
        snd_seq_ev_set_controller(&ev, channel, m[1], m[2]);
        break;
    case 0xC0:
        snd_seq_ev_set_pgmchange(&ev, channel, m[1]);
        break;
    case 0xD0:
        snd_seq_ev_set_chanpress(&ev, channel, m[1]);
        break;
    case 0xE0:
        snd_seq_ev_set_pitchbend(&ev, channel, ((m[2] << 7) | m[1]) - 8192);
        break;
    }
    return true;
}

} // namespace

std::vector<std::string> ListAlsaSeqPorts() {
    std::vector<std::string> names;
    snd_seq_t* raw = OpenSeq();
    if (!raw)
        return names;
    ForEachModulePort(raw, [&names](const std::string& name, PortAddress) {
        names.push_back(name);
        return false;
    });
    snd_seq_close(raw);
    return names;
}

void AlsaSeqSink::SeqCloser::operator()(snd_seq_t* seq) const {
    snd_seq_close(seq); // also frees the queue and ends the subscription
}

AlsaSeqSink::AlsaSeqSink(const std::string& utf8PortName) : portName_(utf8PortName) {
    seq_.reset(OpenSeq());
    if (!seq_)
        throw DeviceError(Utf8ToCp932("ＡＬＳＡシーケンサ（/dev/snd/seq）を開けません"));
    snd_seq_t* seq = seq_.get();
    snd_seq_set_client_name(seq, kClientName);
    PortAddress dest;
    ForEachModulePort(seq, [&](const std::string& name, PortAddress address) {
        if (name != utf8PortName)
            return false;
        dest = address;
        return true;
    });
    if (dest.client < 0) {
        // Also "20:0" or "client name:0", as other sequencer programs write them.
        snd_seq_addr_t address{};
        if (snd_seq_parse_address(seq, &address, utf8PortName.c_str()) < 0)
            throw DeviceError(NoPortText(utf8PortName));
        dest = {address.client, address.port};
    }
    destClient_ = dest.client;
    destPort_ = dest.port;
    port_ = snd_seq_create_simple_port(
        seq, kClientName, SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
        SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    queue_ = snd_seq_alloc_named_queue(seq, kClientName);
    if (port_ < 0 || queue_ < 0 || snd_seq_connect_to(seq, port_, destClient_, destPort_) < 0)
        throw DeviceError(NoPortText(utf8PortName));
    // Room for the lookahead of a dense song; the default pool holds only a few hundred.
    snd_seq_set_client_pool_output(seq, 2000);
}

AlsaSeqSink::~AlsaSeqSink() = default;

void AlsaSeqSink::fail(int error) const {
    throw DeviceError(Utf8ToCp932("ＭＩＤＩ出力先【" + portName_ + "】に送れません：") +
                      std::strerror(-error));
}

bool AlsaSeqSink::connected() const {
    // The kernel ends the subscription when the module's port goes, even if a port of the same
    // address comes back (a module unplugged and plugged in again), so this asks for the
    // subscription rather than the port.
    snd_seq_port_subscribe_t* subscription = nullptr;
    snd_seq_port_subscribe_alloca(&subscription);
    snd_seq_addr_t sender{};
    sender.client = static_cast<unsigned char>(snd_seq_client_id(seq_.get()));
    sender.port = static_cast<unsigned char>(port_);
    snd_seq_addr_t dest{};
    dest.client = static_cast<unsigned char>(destClient_);
    dest.port = static_cast<unsigned char>(destPort_);
    snd_seq_port_subscribe_set_sender(subscription, &sender);
    snd_seq_port_subscribe_set_dest(subscription, &dest);
    return snd_seq_get_port_subscription(seq_.get(), subscription) >= 0;
}

bool AlsaSeqSink::schedule(std::uint64_t micros, std::span<const std::uint8_t> message) {
    snd_seq_event_t ev;
    snd_seq_ev_clear(&ev);
    if (!Encode(message, ev))
        return true; // nothing a module would take
    snd_seq_ev_set_source(&ev, port_);
    snd_seq_ev_set_subs(&ev);
    const snd_seq_real_time_t at = RealTime(micros > base_ ? micros - base_ : 0);
    snd_seq_ev_schedule_real(&ev, queue_, 0, &at);
    const int result = snd_seq_event_output(seq_.get(), &ev);
    if (result == -EAGAIN)
        return false;
    if (result < 0)
        fail(result);
    return true;
}

void AlsaSeqSink::sendNow(std::span<const std::uint8_t> message) {
    snd_seq_event_t ev;
    snd_seq_ev_clear(&ev);
    if (!Encode(message, ev))
        return;
    snd_seq_ev_set_source(&ev, port_);
    snd_seq_ev_set_subs(&ev);
    snd_seq_ev_set_direct(&ev);
    // The pool empties as the module takes what is due; wait a little for room, not forever.
    for (int attempt = 0;; ++attempt) {
        const int result = snd_seq_event_output_direct(seq_.get(), &ev);
        if (result >= 0)
            return;
        if (result != -EAGAIN || attempt == 200)
            fail(result);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void AlsaSeqSink::dropQueued() {
    // Both the library's buffer and what the kernel holds on our queue.
    snd_seq_drop_output_buffer(seq_.get());
    const int result = snd_seq_drop_output(seq_.get());
    if (result < 0 && result != -EAGAIN)
        fail(result);
}

void AlsaSeqSink::controlQueue(int type) {
    snd_seq_event_t ev;
    snd_seq_ev_clear(&ev);
    snd_seq_ev_set_queue_control(&ev, type, queue_, 0);
    snd_seq_ev_set_source(&ev, port_);
    // Direct: the kernel acts on it while we write it, so the clock reads true right after.
    snd_seq_ev_set_direct(&ev);
    const int result = snd_seq_event_output_direct(seq_.get(), &ev);
    if (result < 0)
        fail(result);
}

void AlsaSeqSink::startClock(std::uint64_t micros) {
    // Starting a queue sets its clock to zero; song times are kept relative to where it started.
    flush();
    base_ = micros;
    controlQueue(SND_SEQ_EVENT_START);
}

void AlsaSeqSink::haltClock() {
    controlQueue(SND_SEQ_EVENT_STOP);
}

std::uint64_t AlsaSeqSink::clockMicros() const {
    snd_seq_queue_status_t* status = nullptr;
    snd_seq_queue_status_alloca(&status);
    const int result = snd_seq_get_queue_status(seq_.get(), queue_, status);
    if (result < 0)
        fail(result);
    const snd_seq_real_time_t* t = snd_seq_queue_status_get_real_time(status);
    return base_ + std::uint64_t{t->tv_sec} * 1'000'000 + t->tv_nsec / 1000;
}

void AlsaSeqSink::flush() {
    const int result = snd_seq_drain_output(seq_.get());
    // A full kernel pool keeps the rest in the library's buffer until the next flush.
    if (result < 0 && result != -EAGAIN)
        fail(result);
}

} // namespace tobira
