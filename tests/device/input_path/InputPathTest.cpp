// The MIDI input callback's path, from the bytes a backend hands over to the message waiting
// for the link worker, takes no lock and allocates nothing: on a MIDI server's process thread
// either could make the server's cycle overrun. This program replaces the global allocator and
// pthread_mutex_lock to count what the watched thread does, so it is built without sanitizers
// (they replace both themselves).
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <thread>

#include "device/CMidiDevice.h"
#include "device/LinkState.h"
#include "device/LinkTrace.h"
#include "device/SysExProtocol.h"

// The replaced operator delete frees what the replaced operator new took from malloc; the
// compiler, seeing free() inlined into a delete expression, would call that a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {

thread_local bool watching = false;
std::atomic<int> allocations{0};
std::atomic<int> locks{0};

using LockCall = int (*)(pthread_mutex_t*);
// Looked up before any test runs, so the lookup itself is never watched.
const LockCall realLock = reinterpret_cast<LockCall>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
const LockCall realTryLock = reinterpret_cast<LockCall>(dlsym(RTLD_NEXT, "pthread_mutex_trylock"));

}  // namespace

void* operator new(std::size_t size) {
    if (watching)
        allocations.fetch_add(1);
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

extern "C" int pthread_mutex_lock(pthread_mutex_t* mutex) {
    if (watching)
        locks.fetch_add(1);
    return realLock(mutex);
}
extern "C" int pthread_mutex_trylock(pthread_mutex_t* mutex) {
    if (watching)
        locks.fetch_add(1);
    return realTryLock(mutex);
}

namespace vantrel {
namespace {

// Watches the calling thread for the length of the object.
struct Watch {
    Watch() {
        allocations.store(0);
        locks.store(0);
        watching = true;
    }
    ~Watch() { watching = false; }
};

class InputPath : public ::testing::Test {
  protected:
    void SetUp() override {
        device_ = CMidiDevice::AcquireDevice();
        device_->SetSysExHandler([this](std::span<const std::uint8_t> message) {
            handledOn_ = std::this_thread::get_id();
            handled_.fetch_add(1);
            (void)message;
        });
        Trace().Start();  // the window records all the time
    }
    void TearDown() override {
        Trace().Stop();
        CMidiDevice::ReleaseDevice();
    }

    CMidiDevice* device_ = nullptr;
    std::atomic<int> handled_{0};
    std::thread::id handledOn_;
};

TEST_F(InputPath, AcknowledgesRepliesSplitMessagesAndOverlongOnesTakeNoLockAndNoAllocation) {
    ASSERT_NE(realLock, nullptr);
    const auto ack = sysex::AcknowledgeMessage();
    const auto reply = sysex::MakeSlotListEntry(0, 0, "Abc");
    const std::vector<std::uint8_t> overlong = [] {
        std::vector<std::uint8_t> bytes(2500, 0x11);
        bytes.front() = 0xF0;
        bytes.back() = 0xF7;
        return bytes;
    }();
    Link().packetAcked.store(false);
    {
        const Watch watch;
        device_->OnMidiInput(ack);
        device_->OnMidiInput(reply);
        // The same reply split at every offset.
        for (std::size_t cut = 1; cut < reply.size(); ++cut) {
            device_->OnMidiInput(std::span(reply).first(cut));
            device_->OnMidiInput(std::span(reply).subspan(cut));
        }
        device_->OnMidiInput(overlong);
    }
    EXPECT_EQ(allocations.load(), 0);
    EXPECT_EQ(locks.load(), 0);
    EXPECT_TRUE(Link().packetAcked.load());  // seen on the input thread itself

    // Not vacuous: every reply reached the handler, on the link worker.
    const int expected = static_cast<int>(reply.size());
    EXPECT_TRUE(
        device_->WaitUntil([&] { return handled_.load() == expected; }, std::chrono::seconds(10)));
    EXPECT_EQ(handled_.load(), expected);
    EXPECT_NE(handledOn_, std::this_thread::get_id());
    EXPECT_EQ(device_->DroppedInput(), 0u);
}

TEST_F(InputPath, TheCountersSeeALockAndAnAllocation) {
    // The detector itself works: a plain mutex and a vector are seen.
    std::mutex mutex;
    {
        const Watch watch;
        const std::lock_guard lock(mutex);
        std::vector<int> numbers(3);
        (void)numbers;
    }
    EXPECT_GE(allocations.load(), 1);
    EXPECT_GE(locks.load(), 1);
}

}  // namespace
}  // namespace vantrel
