// Parse throughput of the MIDI readers on one corpus, side by side with the Debian peers linked
// in-process, and the file browser's song-name question over a large folder.
//   bench_parse corpus DIR COUNT SIZE_KIB   write a corpus
//   bench_parse parse DIR                   one line per reader: name CPU seconds MB/s events/s
//   bench_parse songs DIR                   song names of every file, warm
//   bench_parse memory DIR                  CMidiReader's peak memory per file against its size
// Events per second always count the events of the files (as CMidiReader finds them), so every
// reader is measured against the same work.
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <new>
#include <string>

#include "ParseCorpus.h"
#include "midi/CMidiFile.h"
#include "midi/CMidiReader.h"
#include "midi/SongName.h"

#ifdef VANTREL_HAVE_LIBSMF
#include <smf.h>
#endif
#ifdef VANTREL_HAVE_PORTSMF
#include <allegro.h>
#endif

// Every allocation of the program counted, so that the memory mode can tell the peak that
// reading one file takes (the speed modes pay two relaxed atomic additions per allocation).
namespace {
std::atomic<std::size_t> allocatedNow{0};
std::atomic<std::size_t> allocatedPeak{0};

void* CountedAlloc(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();
    const std::size_t now =
        allocatedNow.fetch_add(malloc_usable_size(block), std::memory_order_relaxed) +
        malloc_usable_size(block);
    std::size_t peak = allocatedPeak.load(std::memory_order_relaxed);
    while (now > peak && !allocatedPeak.compare_exchange_weak(peak, now)) {
    }
    return block;
}

void CountedFree(void* block) {
    if (block == nullptr)
        return;
    allocatedNow.fetch_sub(malloc_usable_size(block), std::memory_order_relaxed);
    std::free(block);
}
}  // namespace

void* operator new(std::size_t size) {
    return CountedAlloc(size);
}
void* operator new[](std::size_t size) {
    return CountedAlloc(size);
}
void operator delete(void* block) noexcept {
    CountedFree(block);
}
void operator delete[](void* block) noexcept {
    CountedFree(block);
}
void operator delete(void* block, std::size_t) noexcept {
    CountedFree(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    CountedFree(block);
}

namespace {

using Files = std::vector<std::filesystem::path>;

// Best of three runs over every file; each run returns a number the compiler cannot drop.
// Counted in the process's CPU time unless wall is asked for: on a shared machine the wall time
// also counts every other process, and unevenly between the readers of one run.
double BestSeconds(const Files& files, const std::function<std::size_t(const std::string&)>& run,
                   bool wall = false) {
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        std::size_t sink = 0;
        const std::clock_t cpuStart = std::clock();
        const auto wallStart = std::chrono::steady_clock::now();
        for (const auto& file : files)
            sink += run(file.string());
        const std::chrono::duration<double> wallTook = std::chrono::steady_clock::now() - wallStart;
        const double took =
            wall ? wallTook.count() : static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        if (sink == 0)
            std::fprintf(stderr, "nothing parsed\n");
        best = std::min(best, took);
    }
    return best;
}

// Reads a file and walks every event in merged order, touching its time and data, as the
// converter and the fit do; answers the number of events walked.
std::size_t ReaderEvents(const std::string& path) {
    vantrel::CMidiReader reader;
    reader.SetPath(path);
    reader.LoadFile();
    if (reader.ParseHeader() != vantrel::kHeaderOk)
        return 0;
    reader.ParseTracks();
    reader.MergeTracks();
    std::size_t count = 0;
    std::uint32_t touched = 0;
    for (const vantrel::MidiEvent& event : reader.MergedEvents()) {
        touched += event.time + event.length + (event.length > 0 ? event.Data()[0] : 0u);
        ++count;
    }
    return touched == 0xFFFFFFFFu ? count + 1 : count;
}

int Parse(const std::filesystem::path& folder) {
    const Files files = vantrel::bench::MidiFilesIn(folder);
    std::uintmax_t bytes = 0;
    std::size_t events = 0;
    for (const auto& file : files) {
        bytes += std::filesystem::file_size(file);
        events += ReaderEvents(file.string());
    }
    const auto report = [&](const char* name, double seconds) {
        std::printf("%s %.6f %.2f %.0f\n", name, seconds, bytes / seconds / 1e6, events / seconds);
    };
    report("CMidiReader", BestSeconds(files, ReaderEvents));
    report("CMidiFile", BestSeconds(files, [](const std::string& path) {
               vantrel::CMidiFile file;
               return file.Load(path) ? file.TimeSignatures().size() + 1 : 0;
           }));
#ifdef VANTREL_HAVE_LIBSMF
    g_log_set_handler(
        "libsmf", G_LOG_LEVEL_MASK, [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {},
        nullptr);
    report("libsmf", BestSeconds(files, [](const std::string& path) {
               smf_t* smf = smf_load(path.c_str());
               if (smf == nullptr)
                   return std::size_t{0};
               std::size_t count = 0;
               while (smf_get_next_event(smf) != nullptr)
                   ++count;
               smf_delete(smf);
               return count;
           }));
#endif
#ifdef VANTREL_HAVE_PORTSMF
    report("libportsmf", BestSeconds(files, [](const std::string& path) {
               Alg_seq seq(path.c_str(), true);
               return static_cast<std::size_t>(seq.tracks());
           }));
#endif
    std::printf("files %zu bytes %ju events %zu\n", files.size(), bytes, events);
    return 0;
}

// The reader's own memory at its peak (file image, events, merged list), from a cold start per
// file, against the file's size: the largest and the mean ratio over the corpus.
int Memory(const std::filesystem::path& folder) {
    const Files files = vantrel::bench::MidiFilesIn(folder);
    double worst = 0;
    double sum = 0;
    for (const auto& file : files) {
        const std::size_t before = allocatedNow.load();
        allocatedPeak.store(before);
        ReaderEvents(file.string());
        const double ratio = static_cast<double>(allocatedPeak.load() - before) /
                             static_cast<double>(std::filesystem::file_size(file));
        worst = std::max(worst, ratio);
        sum += ratio;
    }
    std::printf("CMidiReader peak memory: %.2f x the file's size at most, %.2f x on average\n",
                worst, files.empty() ? 0.0 : sum / static_cast<double>(files.size()));
    return 0;
}

int Songs(const std::filesystem::path& folder) {
    const Files files = vantrel::bench::MidiFilesIn(folder);
    const auto scan = [](const std::string& path) {
        return vantrel::ReadSongName(path).value_or("").size() + 1;
    };
    BestSeconds(files, scan, true);  // warms the page cache
    // On a shared machine the wall time also counts other processes; CPU time does not.
    const auto report = [&](const char* name,
                            const std::function<std::size_t(const std::string&)>& run) {
        const std::clock_t start = std::clock();
        const double wall = BestSeconds(files, run, true);
        const double cpu = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC / 3;
        std::printf("%s %zu files: %.3f s wall (best of 3), %.3f s CPU (mean)\n", name,
                    files.size(), wall, cpu);
    };
    report("song-name-scan", scan);
    report("full-reader", ReaderEvents);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 2 ? argv[1] : "";
    if (command == "corpus" && argc == 5) {
        vantrel::bench::WriteParseCorpus(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
        return 0;
    }
    if (command == "parse")
        return Parse(argv[2]);
    if (command == "songs")
        return Songs(argv[2]);
    if (command == "memory")
        return Memory(argv[2]);
    std::fprintf(stderr,
                 "usage: bench_parse corpus DIR COUNT SIZE_KIB | parse DIR | songs DIR | "
                 "memory DIR\n");
    return 2;
}
