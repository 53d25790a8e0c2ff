// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/sf2_writer.h"

#include <cstring>
#include <string>

namespace tobira::testing {

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& out, std::uint32_t value, int bytes) {
    // A field wider than the value is zero-filled (shifting by its width would be undefined).
    for (int i = 0; i < bytes; ++i)
        out.push_back(i < 4 ? static_cast<std::uint8_t>(value >> (8 * i)) : 0);
}

void PutName(Bytes& out, const char* name) {
    char field[20] = {};
    std::strncpy(field, name, sizeof field - 1);
    out.insert(out.end(), field, field + sizeof field);
}

Bytes Chunk(const char* id, const Bytes& body) {
    Bytes out(id, id + 4);
    Put(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2)
        out.push_back(0);
    return out;
}

Bytes List(const char* type, const std::vector<Bytes>& chunks) {
    Bytes body(type, type + 4);
    for (const Bytes& c : chunks)
        body.insert(body.end(), c.begin(), c.end());
    return Chunk("LIST", body);
}

} // namespace

std::vector<std::uint8_t> LoudSoundFont() {
    constexpr int kPeriod = 100; // 441 Hz at 44.1 kHz
    constexpr int kFrames = 4400;
    Bytes samples;
    for (int i = 0; i < kFrames + 46; ++i) // 46 zero frames after the sample, as SF2 asks
        Put(samples, i < kFrames ? (i % kPeriod < kPeriod / 2 ? 32767 : 0x8001) : 0, 2);

    Bytes ifil, isng(std::begin("EMU8000"), std::end("EMU8000")), inam{'L', 'o', 'u', 'd', 0, 0};
    Put(ifil, 2, 2);
    Put(ifil, 1, 2);

    Bytes phdr, pbag, pmod(10, 0), pgen, inst, ibag, imod(10, 0), igen, shdr;
    const std::pair<int, int> presets[] = {{0, 0}, {128, 0}};
    int zone = 0;
    for (auto [bank, program] : presets) {
        PutName(phdr, "Loud");
        Put(phdr, static_cast<std::uint32_t>(program), 2);
        Put(phdr, static_cast<std::uint32_t>(bank), 2);
        Put(phdr, static_cast<std::uint32_t>(zone), 2);
        Put(phdr, 0, 12);
        Put(pbag, static_cast<std::uint32_t>(zone), 2); // generator index: one per zone
        Put(pbag, 0, 2);
        Put(pgen, 41, 2); // instrument 0
        Put(pgen, 0, 2);
        ++zone;
    }
    PutName(phdr, "EOP");
    Put(phdr, 0, 4);
    Put(phdr, static_cast<std::uint32_t>(zone), 2);
    Put(phdr, 0, 12);
    Put(pbag, static_cast<std::uint32_t>(zone), 2);
    Put(pbag, 0, 2);
    Put(pgen, 0, 4);

    PutName(inst, "Square");
    Put(inst, 0, 2);
    PutName(inst, "EOI");
    Put(inst, 1, 2);
    Put(ibag, 0, 4);
    Put(ibag, 2, 2); // the zone's two generators end at 2
    Put(ibag, 0, 2);
    Put(igen, 54, 2); // sampleModes: loop continuously
    Put(igen, 1, 2);
    Put(igen, 53, 2); // sampleID 0, last as the format asks
    Put(igen, 0, 2);
    Put(igen, 0, 4);

    PutName(shdr, "Square");
    Put(shdr, 0, 4);
    Put(shdr, kFrames, 4);
    Put(shdr, kPeriod, 4);
    Put(shdr, kFrames - kPeriod, 4);
    Put(shdr, 44100, 4);
    shdr.push_back(69); // A4
    shdr.push_back(0);
    Put(shdr, 0, 2);
    Put(shdr, 1, 2); // mono
    PutName(shdr, "EOS");
    Put(shdr, 0, 26);

    Bytes body{'s', 'f', 'b', 'k'};
    for (const Bytes& part :
         {List("INFO", {Chunk("ifil", ifil), Chunk("isng", isng), Chunk("INAM", inam)}),
          List("sdta", {Chunk("smpl", samples)}),
          List("pdta", {Chunk("phdr", phdr), Chunk("pbag", pbag), Chunk("pmod", pmod),
                        Chunk("pgen", pgen), Chunk("inst", inst), Chunk("ibag", ibag),
                        Chunk("imod", imod), Chunk("igen", igen), Chunk("shdr", shdr)})})
        body.insert(body.end(), part.begin(), part.end());
    return Chunk("RIFF", body);
}

} // namespace tobira::testing
