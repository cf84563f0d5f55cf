// Converts one realistic pattern (seven channels, four bars of 4/4 at 192 ticks per quarter:
// sixteenth-note drums, percussion, an eighth-note bass line and four chord parts with their
// settings) the way the import check and the upload do, and reports the time per conversion
// and the peak heap a conversion takes beyond the input file's size.
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>
#include <string>

#include "common/ScopedTempDir.h"
#include "common/UserPrompt.h"
#include "midi/SmfWriter.h"
#include "pattern/CMidiPattern.h"
#include "pattern/PatternCheck.h"

namespace {

std::atomic<std::size_t> liveBytes{0};
std::atomic<std::size_t> peakBytes{0};

void* Allocate(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();
    const std::size_t live = liveBytes += malloc_usable_size(block);
    std::size_t peak = peakBytes.load();
    while (live > peak && !peakBytes.compare_exchange_weak(peak, live)) {
    }
    return block;
}

void Release(void* block) {
    if (block == nullptr)
        return;
    liveBytes -= malloc_usable_size(block);
    std::free(block);
}

class QuietPrompt final : public vantrel::UserPrompt {
  public:
    void Message(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    vantrel::PromptAnswer Ask(const std::string&, vantrel::PromptButtons) override {
        return vantrel::PromptAnswer::No;
    }
};

vantrel::SmfWriter RealisticPattern() {
    constexpr std::uint32_t kBar = 768;
    constexpr std::uint32_t kBars = 4;
    vantrel::SmfWriter writer(1, 192);
    writer.AddTrack()
        .Text(0, 0x03, "Bench Groove")
        .Tempo(0, 500000)
        .TimeSignature(0, 4, 2)
        .Text(0, 0x06, "qz4ws")
        .EndOfTrack(kBar * kBars);
    {
        auto& drum = writer.AddTrack().Channel(0, 0xC0, 10, 0).Channel(0, 0xB0, 10, 7, 110);
        for (std::uint32_t t = 0; t < kBar * kBars; t += 48) {
            drum.Note(t, 10, 42, t % 192 == 0 ? 110 : 80, 24);
            if (t % 384 == 0)
                drum.Note(t, 10, 36, 120, 24);
            if (t % 384 == 192)
                drum.Note(t, 10, 38, 115, 24);
        }
        drum.EndOfTrack(kBar * kBars);
    }
    {
        auto& percussion = writer.AddTrack().Channel(0, 0xB0, 11, 10, 90);
        for (std::uint32_t t = 96; t < kBar * kBars; t += 192)
            percussion.Note(t, 11, 70, 90, 48);
        percussion.EndOfTrack(kBar * kBars);
    }
    {
        auto& bass = writer.AddTrack().Channel(0, 0xC0, 12, 33).Channel(0, 0xB0, 12, 91, 20);
        for (std::uint32_t t = 0; t < kBar * kBars; t += 96) {
            bass.Note(t, 12, static_cast<std::uint8_t>(36 + (t / 96) % 5), 100, 80);
        }
        bass.EndOfTrack(kBar * kBars);
    }
    for (std::uint8_t channel = 13; channel <= 16; ++channel) {
        auto& chord =
            writer.AddTrack().Channel(0, 0xC0, channel, 0).Channel(0, 0xB0, channel, 7, 80);
        for (std::uint32_t t = 0; t < kBar * kBars; t += 384) {
            chord.Note(t, channel, static_cast<std::uint8_t>(48 + channel), 70, 360);
            chord.Channel(t + 200, 0xB0, channel, 64, 127);
            chord.Channel(t + 370, 0xB0, channel, 64, 0);
        }
        chord.EndOfTrack(kBar * kBars);
    }
    return writer;
}

}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* block) noexcept {
    Release(block);
}
void operator delete[](void* block) noexcept {
    Release(block);
}
void operator delete(void* block, std::size_t) noexcept {
    Release(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    Release(block);
}

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    vantrel::ScopedTempDir folder;
    const auto input = folder.Path() / "Groove.mid";
    const auto bytes = RealisticPattern().Encode();
    if (!RealisticPattern().Save(input))
        return 1;
    QuietPrompt prompt;

    const std::size_t before = liveBytes.load();
    peakBytes = before;
    const auto products = vantrel::ConvertToProducts(input, prompt);
    const std::size_t peak = peakBytes.load() - before;
    if (!products.Passed()) {
        std::fprintf(stderr, "conversion failed: %s\n", products.errors.front().c_str());
        return 1;
    }

    // Wall time includes waiting for the file system (creating, writing and removing the
    // private folder and the products); CPU time is the conversion's own work.
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    for (int i = 0; i < runs; ++i)
        vantrel::ConvertToProducts(input, prompt);
    const double cpuMicros =
        1e6 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC / runs;
    const std::chrono::duration<double, std::micro> elapsed =
        std::chrono::steady_clock::now() - start;

    // The converter alone, into one folder, without the private folder's creation and removal.
    const auto direct = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i) {
        vantrel::CMidiPattern pattern(prompt, folder.Path());
        pattern.AddInputFile(input);
        pattern.Convert();
    }
    const std::chrono::duration<double, std::micro> directElapsed =
        std::chrono::steady_clock::now() - direct;

    std::printf("input: %zu bytes; products: %zu + %zu bytes\n", bytes.size(),
                products.controlList.size(), products.patternData.size());
    std::printf("time per conversion: %.1f us wall, %.1f us CPU (%d runs)\n",
                elapsed.count() / runs, cpuMicros, runs);
    std::printf("time per conversion into a fixed folder: %.1f us\n", directElapsed.count() / runs);
    std::printf("peak heap of one conversion: %zu bytes (%.1f KiB), %zd bytes beyond the input\n",
                peak, static_cast<double>(peak) / 1024.0,
                static_cast<std::ptrdiff_t>(peak) - static_cast<std::ptrdiff_t>(bytes.size()));
    return 0;
}
