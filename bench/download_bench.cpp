// Stores a 20474-byte style image (the example style, combined as the upload combines it) in a
// slot of the in-process virtual keyboard, over and over, and reports per acknowledged packet
// the wall time of the whole exchange (the computer's side and the keyboard's together, so an
// upper bound of the computer's overhead) and the process CPU time over the wall time.
//   bench_download [RUNS]
#include <ctime>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "combine/StyleBuild.h"
#include "common/AtomicFile.h"
#include "common/ScopedTempDir.h"
#include "common/UserPrompt.h"
#include "device/CMidiDevice.h"
#include "device/CMidiTrans.h"
#include "device/DeviceConnector.h"
#include "keyboard/VirtualKeyboardBackend.h"
#include "pattern/PatternCheck.h"
#include "repository/SubRepository.h"

namespace {

namespace fs = std::filesystem;

class PrintingPrompt final : public vantrel::UserPrompt {
public:
    void Message(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    vantrel::PromptAnswer Ask(const std::string& text, vantrel::PromptButtons) override {
        Message(text);
        return vantrel::PromptAnswer::No;
    }
};

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The example parts in a private repository, combined into the image file.
bool WriteExampleImage(const fs::path& repository, const fs::path& image,
                       vantrel::UserPrompt& prompt) {
    using vantrel::SubRepository;
    const fs::path examples = VANTREL_EXAMPLES_DIR;
    const std::vector<std::string> parts = {"intro.mid", "fill1.mid", "fill2.mid", "fill3.mid",
                                            "ending.mid"};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const SubRepository folder = i == 0                  ? SubRepository::Intro
                                     : i + 1 == parts.size() ? SubRepository::Ending
                                                             : SubRepository::Fill;
        const fs::path target = vantrel::SubRepositoryFolder(repository, folder);
        fs::create_directories(target);
        fs::copy_file(examples / parts[i], target / parts[i]);
    }
    const auto bytes =
        vantrel::BuildStyleImage(repository, parts, prompt, &vantrel::ConvertToProducts);
    return bytes && vantrel::WriteFileAtomically(image, *bytes);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    PrintingPrompt prompt;
    const vantrel::ScopedTempDir folder;
    const fs::path image = folder.Path() / "Total.mix";
    if (!WriteExampleImage(folder.Path() / "Repository", image, prompt)) {
        std::fprintf(stderr, "bench_download: the example image could not be built\n");
        return 1;
    }
    const auto size = fs::file_size(image);

    vantrel::CMidiTrans trans(prompt);
    trans.Device().SetBackend(std::make_shared<vantrel::VirtualKeyboardBackend>());
    std::string name;
    if (vantrel::ConnectDeviceByName(trans, prompt, vantrel::kVirtualKeyboardName,
                                     vantrel::kVirtualKeyboardName,
                                     name) != vantrel::ConnectOutcome::Connected ||
        !trans.DownloadFile(image, 0, vantrel::CMidiTrans::kDownloadTimeoutMs)) {
        std::fprintf(stderr, "bench_download: the warm-up download failed\n");
        return 1;
    }

    const auto packets = vantrel::CMidiTrans::DownloadPacketCount(size);
    const double cpuStart = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    for (int run = 0; run < runs; ++run) {
        if (!trans.DownloadFile(image, run % 16, vantrel::CMidiTrans::kDownloadTimeoutMs)) {
            std::fprintf(stderr, "bench_download: download %d failed\n", run + 1);
            return 1;
        }
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = CpuSeconds() - cpuStart;
    const double perPacket = wall / static_cast<double>(runs * packets);
    std::printf("image %ju bytes, %zu packets per download, %d downloads\n",
                static_cast<std::uintmax_t>(size), packets, runs);
    std::printf("wall per download      %8.2f ms\n", 1e3 * wall / runs);
    std::printf("wall per packet        %8.2f us   (goal under 20 us)\n", 1e6 * perPacket);
    std::printf("process CPU / wall     %8.1f %%    (both threads of both sides)\n",
                100.0 * cpu / wall);
    trans.Device().SetBackend(nullptr);
    return 0;
}
