// Parse throughput of the MIDI readers on one corpus, side by side with the Debian peers linked
// in-process, and the file browser's song-name question over a large folder.
//   bench_parse corpus DIR COUNT SIZE_KIB   write a corpus
//   bench_parse parse DIR                   one line per reader: name seconds MB/s events/s
//   bench_parse songs DIR                   song names of every file, warm
// Events per second always count the events of the files (as CMidiReader finds them), so every
// reader is measured against the same work.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
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

namespace {

using Files = std::vector<std::filesystem::path>;

// Best of three runs over every file; each run returns a number the compiler cannot drop.
double BestSeconds(const Files& files, const std::function<std::size_t(const std::string&)>& run) {
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        std::size_t sink = 0;
        const auto start = std::chrono::steady_clock::now();
        for (const auto& file : files)
            sink += run(file.string());
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (sink == 0)
            std::fprintf(stderr, "nothing parsed\n");
        best = std::min(best, took.count());
    }
    return best;
}

std::size_t ReaderEvents(const std::string& path) {
    vantrel::CMidiReader reader;
    reader.SetPath(path);
    reader.LoadFile();
    if (reader.ParseHeader() != vantrel::kHeaderOk)
        return 0;
    reader.ParseTracks();
    reader.MergeTracks();
    return reader.MergedEvents().size();
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

int Songs(const std::filesystem::path& folder) {
    const Files files = vantrel::bench::MidiFilesIn(folder);
    const auto scan = [](const std::string& path) {
        return vantrel::ReadSongName(path).value_or("").size() + 1;
    };
    BestSeconds(files, scan);  // warms the page cache
    // On a shared machine the wall time also counts other processes; CPU time does not.
    const auto report = [&](const char* name,
                            const std::function<std::size_t(const std::string&)>& run) {
        const std::clock_t start = std::clock();
        const double wall = BestSeconds(files, run);
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
    std::fprintf(stderr, "usage: bench_parse corpus DIR COUNT SIZE_KIB | parse DIR | songs DIR\n");
    return 2;
}
