#include "cli/CliInterrupt.h"

#include <atomic>
#include <csignal>

#include "device/LinkState.h"

namespace vantrel::cli {

namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

using Handler = void (*)(int);
Handler previous = SIG_DFL;

extern "C" void OnInterrupt(int signal) {
    interrupted.store(true);
    if (Link().linkIdle.load()) {
        // Nothing to cancel (a question on the terminal, say): Ctrl-C ends the program as ever.
        (void)std::signal(signal, SIG_DFL);
        (void)std::raise(signal);
        return;
    }
    CancelLink();
}

extern "C" void RaiseFlag(int) {
    interrupted.store(true);
}

Handler previousForPlaying = SIG_DFL;

}  // namespace

InterruptCancelsTransfer::InterruptCancelsTransfer() {
    interrupted.store(false);
    previous = std::signal(SIGINT, &OnInterrupt);
    if (previous == SIG_ERR)
        previous = SIG_DFL;
}

InterruptCancelsTransfer::~InterruptCancelsTransfer() {
    (void)std::signal(SIGINT, previous);
}

bool InterruptCancelsTransfer::Interrupted() {
    return interrupted.load();
}

InterruptStopsPlaying::InterruptStopsPlaying() {
    interrupted.store(false);
    previousForPlaying = std::signal(SIGINT, &RaiseFlag);
    if (previousForPlaying == SIG_ERR)
        previousForPlaying = SIG_DFL;
}

InterruptStopsPlaying::~InterruptStopsPlaying() {
    (void)std::signal(SIGINT, previousForPlaying);
}

bool InterruptStopsPlaying::Interrupted() {
    return interrupted.load();
}

}  // namespace vantrel::cli
