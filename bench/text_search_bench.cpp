// SPDX-License-Identifier: GPL-3.0-or-later
// The loose search of the MIDI control window normalises every candidate line once per search.
// Goal: 100,000 typical list lines in under 20 ms.

#include "text/cp932_convert.h"
#include "text/full_width.h"
#include "text/search.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

using namespace tobira;

// Song-list lines as users type them: kanji and kana titles, half-width kana, ASCII names and
// paths, about 80 bytes each.
std::vector<std::string> MakeLines(std::size_t count) {
    const char* pieces[] = {
        "ガイド",      "ｶﾞｲﾄﾞ",   "MIDI",     "Song ",      "月光",   "ソナタ",  "第",    "番 ",
        "(GS)",        "[88Pro]", "ｸﾗｼｯｸ",    "ﾋﾟｱﾉ協奏曲", "交響曲", " ver1.2", "　",    " ",
        "C:\\MIDI\\",  "gakufu_", "ＪＰＯＰ", "ﾊﾞﾗｰﾄﾞ",     "アニメ", "主題歌",  "track", "-",
        "夜想曲 Op.9", "ﾄﾞﾗｸｴ",   "~remix~",  "!1 ",        "さくら", "ﾒﾄﾞﾚｰ",
    };
    std::vector<std::string> cp932;
    for (const char* p : pieces)
        cp932.push_back(Utf8ToCp932(p));
    std::mt19937 random(80);
    std::vector<std::string> lines;
    lines.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string line;
        while (line.size() < 74)
            line += cp932[random() % cp932.size()];
        line += std::to_string(i % 1000);
        lines.push_back(std::move(line));
    }
    return lines;
}

const std::vector<std::string>& Lines() {
    static const std::vector<std::string> lines = MakeLines(100000);
    return lines;
}

void BM_LooseSearch(benchmark::State& state) {
    const auto& lines = Lines();
    const std::string keyword = NormaliseForLooseSearch(Utf8ToCp932("ｿﾅﾀ 第"));
    std::size_t found = 0;
    std::string normalised;
    for (auto _ : state) {
        found = 0;
        for (const auto& line : lines) {
            NormaliseForLooseSearch(line, normalised);
            found += ContainsAt(keyword, normalised) ? 1 : 0;
        }
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = static_cast<double>(found);
    state.counters["bytes"] = static_cast<double>(lines.size()) * 80;
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}
BENCHMARK(BM_LooseSearch)->Unit(benchmark::kMillisecond);

void BM_ToFullWidth(benchmark::State& state) {
    const auto& lines = Lines();
    for (auto _ : state) {
        for (const auto& line : lines)
            benchmark::DoNotOptimize(ToFullWidth(line));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}
BENCHMARK(BM_ToFullWidth)->Unit(benchmark::kMillisecond);

void BM_StrictSearch(benchmark::State& state) {
    const auto& lines = Lines();
    const std::string keyword = Utf8ToCp932("ソナタ");
    for (auto _ : state) {
        std::size_t found = 0;
        for (const auto& line : lines)
            found += ContainsAt(keyword, line) ? 1 : 0;
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}
BENCHMARK(BM_StrictSearch)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
