#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "play/Player.h"

namespace vantrel::play {
namespace {

using Message = std::vector<std::uint8_t>;

// Keeps what the player sends; can be told to fail after some messages or to vanish.
class RecordingOutput final : public EventOutput {
  public:
    bool Send(std::span<const std::uint8_t> message) override {
        std::lock_guard lock(mutex_);
        messages_.emplace_back(message.begin(), message.end());
        changed_.notify_all();
        return failAfter_ < 0 || static_cast<int>(messages_.size()) <= failAfter_;
    }
    bool StillThere() override { return !vanished_.load(); }
    std::string Problem() const override { return "port X went away"; }

    void FailAfter(int count) { failAfter_ = count; }
    void Vanish() { vanished_.store(true); }
    std::vector<Message> Messages() const {
        std::lock_guard lock(mutex_);
        return messages_;
    }
    void WaitForCount(std::size_t count) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return messages_.size() >= count; });
    }

  private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Message> messages_;
    int failAfter_ = -1;
    std::atomic<bool> vanished_{false};
};

TimedMessage At(std::uint32_t tick, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    return {tick, {status, data1, data2}, 3};
}

// Notes on channels 12 and 13 at the start, released only after `holdQuarters` quarter notes at
// 400 BPM, over measures of one quarter note.
Performance Held(std::uint32_t holdQuarters) {
    Performance performance;
    const std::uint32_t end = holdQuarters * 192;
    performance.events = {At(0, 0xBB, 7, 100), At(0, 0x9B, 36, 100), At(0, 0x9C, 64, 90),
                          At(end, 0x8B, 36, 64), At(end, 0x8C, 64, 64)};
    for (std::uint32_t q = 0; q < holdQuarters; ++q) {
        PlayedMeasure measure;
        measure.startTick = q * 192;
        measure.lengthTicks = 192;
        measure.bpm = 400;
        measure.startSeconds = q * 0.15;
        performance.measures.push_back(measure);
    }
    performance.endTick = end;
    return performance;
}

// Sustain off and All Notes Off on every pattern channel, after any note offs.
std::vector<Message> ReleaseOfAllChannels() {
    std::vector<Message> release;
    for (std::uint8_t channel = 9; channel < 16; ++channel) {
        release.push_back({static_cast<std::uint8_t>(0xB0 | channel), 64, 0});
        release.push_back({static_cast<std::uint8_t>(0xB0 | channel), 123, 0});
    }
    return release;
}

TEST(Player, PlaysEveryEventInOrderAndTellsEachMeasure) {
    auto output = std::make_shared<RecordingOutput>();
    std::mutex mutex;
    std::vector<PlayerNotice> notices;
    Player player([&](const PlayerNotice& notice) {
        std::lock_guard lock(mutex);
        notices.push_back(notice);
    });
    player.Start(Held(2), output);
    while (!player.Wait(std::chrono::milliseconds(100))) {
    }
    EXPECT_FALSE(player.Playing());
    EXPECT_EQ(player.Outcome(), PlayerNotice::Kind::Finished);
    EXPECT_EQ(player.CurrentMeasure(), -1);
    std::vector<Message> expected = {
        {0xBB, 7, 100}, {0x9B, 36, 100}, {0x9C, 64, 90}, {0x8B, 36, 64}, {0x8C, 64, 64}};
    for (auto& message : ReleaseOfAllChannels())
        expected.push_back(message);
    EXPECT_EQ(output->Messages(), expected);
    std::lock_guard lock(mutex);
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[0].kind, PlayerNotice::Kind::Measure);
    EXPECT_EQ(notices[1].measure, 1u);
    EXPECT_EQ(notices[2].kind, PlayerNotice::Kind::Finished);
}

TEST(Player, StopReleasesEverySoundingNoteOnItsChannel) {
    auto output = std::make_shared<RecordingOutput>();
    Player player;
    player.Start(Held(4000), output);
    output->WaitForCount(3);
    EXPECT_TRUE(player.Playing());
    player.Stop();
    EXPECT_FALSE(player.Playing());
    EXPECT_EQ(player.Outcome(), PlayerNotice::Kind::Stopped);
    const auto messages = output->Messages();
    std::vector<Message> expected = {
        {0xBB, 7, 100}, {0x9B, 36, 100}, {0x9C, 64, 90}, {0x8B, 36, 0x40}, {0x8C, 64, 0x40}};
    for (auto& message : ReleaseOfAllChannels())
        expected.push_back(message);
    EXPECT_EQ(messages, expected);
    player.Stop();  // a second Stop does nothing
    EXPECT_EQ(output->Messages().size(), messages.size());
}

TEST(Player, ASecondStartReplacesTheFirstAfterReleasingIt) {
    auto first = std::make_shared<RecordingOutput>();
    auto second = std::make_shared<RecordingOutput>();
    Player player;
    player.Start(Held(4000), first);
    first->WaitForCount(3);
    player.Start(Held(4000), second);
    second->WaitForCount(3);
    // The first performance let go of its notes before the second began.
    const auto firstMessages = first->Messages();
    ASSERT_EQ(firstMessages.size(), 5u + 14u);
    EXPECT_EQ(firstMessages[3], (Message{0x8B, 36, 0x40}));
    EXPECT_TRUE(player.Playing());
}

TEST(Player, DestroyedWhilePlayingReleasesAndEnds) {
    auto output = std::make_shared<RecordingOutput>();
    {
        Player player;
        player.Start(Held(4000), output);
        output->WaitForCount(3);
    }
    const auto messages = output->Messages();
    ASSERT_EQ(messages.size(), 5u + 14u);
    EXPECT_EQ(messages.back(), (Message{0xBF, 123, 0}));
    EXPECT_EQ(output.use_count(), 1);  // the player let go of the output
}

TEST(Player, AnOutputThatFailsStopsThePerformanceWithItsReason) {
    auto failing = std::make_shared<RecordingOutput>();
    failing->FailAfter(2);
    Player player;
    player.Start(Held(4000), failing);
    EXPECT_TRUE(player.Wait(std::chrono::seconds(30)));
    EXPECT_EQ(player.Outcome(), PlayerNotice::Kind::Failed);
    EXPECT_EQ(player.Problem(), "port X went away");

    auto vanishing = std::make_shared<RecordingOutput>();
    player.Start(Held(4000), vanishing);
    vanishing->WaitForCount(3);
    vanishing->Vanish();
    EXPECT_TRUE(player.Wait(std::chrono::seconds(30)));
    EXPECT_EQ(player.Outcome(), PlayerNotice::Kind::Failed);
    // The notes it held were let go all the same.
    const auto messages = vanishing->Messages();
    EXPECT_EQ(messages[3], (Message{0x8B, 36, 0x40}));
}

}  // namespace
}  // namespace vantrel::play
