#include <pthread.h>

#include <csignal>

#include "keyboard/program/StopSignal.h"

namespace vantrel {

namespace {

sigset_t StopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

}  // namespace

// SIGINT and SIGTERM are blocked in every thread and taken by sigwait.
StopSignal::StopSignal() {
    const sigset_t signals = StopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

void StopSignal::Wait() {
    const sigset_t signals = StopSignals();
    int received = 0;
    sigwait(&signals, &received);
}

}  // namespace vantrel
