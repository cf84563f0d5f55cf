#pragma once

namespace vantrel::cli {

// While it lives, Ctrl-C (SIGINT) cancels the running device operation instead of killing the
// program: the packet in flight is finished, nothing more of the message is sent, and the
// command ends with kExitInterrupted. Between operations (a question on the terminal) Ctrl-C
// still ends the program at once. The previous handler comes back afterwards.
class InterruptCancelsTransfer {
  public:
    InterruptCancelsTransfer();
    ~InterruptCancelsTransfer();
    InterruptCancelsTransfer(const InterruptCancelsTransfer&) = delete;
    InterruptCancelsTransfer& operator=(const InterruptCancelsTransfer&) = delete;

    // Whether Ctrl-C came since this object was made.
    static bool Interrupted();
};

// While it lives, Ctrl-C (SIGINT) only raises a flag that a command playing sound polls: it
// stops the performance at once, releases every note and ends with kExitInterrupted. The
// previous handler comes back afterwards.
class InterruptStopsPlaying {
  public:
    InterruptStopsPlaying();
    ~InterruptStopsPlaying();
    InterruptStopsPlaying(const InterruptStopsPlaying&) = delete;
    InterruptStopsPlaying& operator=(const InterruptStopsPlaying&) = delete;

    static bool Interrupted();
};

}  // namespace vantrel::cli
