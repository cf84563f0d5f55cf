#include <gtest/gtest.h>

#include "KeyboardTestSupport.h"
#include "TestFiles.h"
#include "common/ScopedTempDir.h"
#include "keyboard/VirtualKeyboard.h"

namespace vantrel {
namespace {

using test::ReplyCommand;
using test::ReplyRecord;
namespace fs = std::filesystem;

class VirtualKeyboardTest : public ::testing::Test {
  protected:
    VirtualKeyboard& Make(KeyboardOptions options = {}) {
        keyboard_ = std::make_unique<VirtualKeyboard>(std::move(options), output_);
        EXPECT_TRUE(keyboard_->Load());
        return *keyboard_;
    }
    std::vector<std::uint8_t> LastReply() const {
        const auto replies = output_.Replies();
        return replies.empty() ? std::vector<std::uint8_t>{} : replies.back();
    }
    // Status of the last reply, which must answer `command`.
    int LastStatus(std::uint8_t command) const {
        const auto reply = LastReply();
        EXPECT_EQ(ReplyCommand(reply), command);
        const auto record = ReplyRecord(reply);
        return record.empty() ? -1 : record[0];
    }
    void Download(std::uint8_t slot, const std::vector<std::uint8_t>& image) {
        test::Feed(*keyboard_,
                   sysex::MakeFileHeaderMessage(slot, static_cast<std::uint32_t>(image.size())));
        ASSERT_EQ(LastStatus(sysex::kCommandFile), 0);
        test::Feed(*keyboard_, sysex::MakeFileDataMessage(image));
    }

    test::RecordingOutput output_;
    std::unique_ptr<VirtualKeyboard> keyboard_;
};

TEST_F(VirtualKeyboardTest, ConnectIsAcknowledgedThenAnsweredWithTheName) {
    KeyboardOptions options;
    options.name = "Stage Keys";
    Make(options).OnPacket(sysex::MakeConnectRequest());
    const auto sent = output_.All();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_TRUE(sysex::IsAcknowledge(sent[0].message));
    EXPECT_EQ(sysex::CheckMessage(sent[1].message), sysex::CheckResult::Ok);
    const auto reply = sysex::ParseNamedRecord(ReplyRecord(sent[1].message));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 0);
    EXPECT_EQ(reply->name, "Stage Keys");
}

TEST_F(VirtualKeyboardTest, AWrongChecksumIsAnsweredWithStatus2AndNothingElse) {
    auto request = sysex::MakeDeleteRequest(0).value();
    request[request.size() - 3] ^= 0x01;
    KeyboardOptions options;
    options.initialSlots[0] = SlotContent{"Kept", test::WellFormedImage()};
    VirtualKeyboard& keyboard = Make(options);
    keyboard.OnPacket(request);
    EXPECT_EQ(output_.Acknowledges(), 1u);
    EXPECT_EQ(LastStatus(sysex::kCommandDelete), sysex::kStatusBadChecksum);
    EXPECT_TRUE(keyboard.Slot(0));
    EXPECT_EQ(keyboard.Counters().checksumErrors, 1u);
}

TEST_F(VirtualKeyboardTest, SlotListSendsEachEntryAfterTheStatusReplyForTheLast) {
    KeyboardOptions options;
    options.slotCount = 3;
    options.initialSlots[1] = SlotContent{"Ballad", test::WellFormedImage()};
    VirtualKeyboard& keyboard = Make(options);
    keyboard.OnPacket(sysex::MakeSlotListRequest());
    std::vector<sysex::NamedRecord> entries;
    for (int guard = 0; guard < 10; ++guard) {
        const auto replies = output_.Replies();
        ASSERT_EQ(replies.size(), entries.size() + 1) << "one entry at a time";
        entries.push_back(*sysex::ParseNamedRecord(ReplyRecord(replies.back())));
        if (entries.back().status == sysex::kStatusEndOfList)
            break;
        keyboard.OnPacket(sysex::MakeStatusReply(sysex::kCommandSlotList, true));
    }
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].index, 0);
    EXPECT_EQ(entries[0].name, "");
    EXPECT_EQ(entries[1].index, 1);
    EXPECT_EQ(entries[1].name, "Ballad");
    EXPECT_EQ(entries[2].index, 2);
    EXPECT_EQ(entries[3].status, sysex::kStatusEndOfList);
    // The request is acknowledged; the computer's status replies are not.
    EXPECT_EQ(output_.Acknowledges(), 1u);
    EXPECT_EQ(keyboard.Counters().statusReplies, 3u);
    // A status reply after the end mark changes nothing.
    keyboard.OnPacket(sysex::MakeStatusReply(sysex::kCommandSlotList, true));
    EXPECT_EQ(output_.Replies().size(), 4u);
}

TEST_F(VirtualKeyboardTest, ADamagedReplyIsSentAgainIntactOnStatus2) {
    KeyboardOptions options;
    options.slotCount = 2;
    options.faults.corruptReply = 1;
    VirtualKeyboard& keyboard = Make(options);
    keyboard.OnPacket(sysex::MakeSlotListRequest());
    EXPECT_EQ(sysex::CheckMessage(LastReply()), sysex::CheckResult::BadChecksum);
    keyboard.OnPacket(sysex::MakeStatusReply(sysex::kCommandSlotList, false));
    const auto repeated = LastReply();
    EXPECT_EQ(sysex::CheckMessage(repeated), sysex::CheckResult::Ok);
    EXPECT_EQ(sysex::ParseNamedRecord(ReplyRecord(repeated))->index, 0);
    EXPECT_EQ(keyboard.Counters().repeats, 1u);
    EXPECT_EQ(output_.Acknowledges(), 1u);
}

// 15h with P1 = 2 is both "delete slot 2" and "your delete reply had a wrong checksum".
TEST_F(VirtualKeyboardTest, DeleteOfSlot2IsAStatusReplyOnlyAfterADamagedDeleteReply) {
    KeyboardOptions options;
    for (std::size_t slot : {0u, 1u, 2u}) {
        options.initialSlots[slot] =
            SlotContent{"S" + std::to_string(slot), test::WellFormedImage()};
    }
    VirtualKeyboard& keyboard = Make(options);
    keyboard.OnPacket(*sysex::MakeDeleteRequest(0));
    keyboard.OnPacket(*sysex::MakeDeleteRequest(2));
    EXPECT_FALSE(keyboard.Slot(0));
    EXPECT_FALSE(keyboard.Slot(2));
    EXPECT_EQ(output_.Acknowledges(), 2u);

    KeyboardFaults faults;
    faults.corruptReply = 1;
    keyboard.SetFaults(faults);
    keyboard.OnPacket(*sysex::MakeDeleteRequest(1));
    EXPECT_EQ(sysex::CheckMessage(LastReply()), sysex::CheckResult::BadChecksum);
    keyboard.OnPacket(sysex::MakeStatusReply(sysex::kCommandDelete, false));
    EXPECT_EQ(sysex::CheckMessage(LastReply()), sysex::CheckResult::Ok);
    EXPECT_EQ(LastStatus(sysex::kCommandDelete), 0);
    EXPECT_FALSE(keyboard.Slot(1));
    EXPECT_EQ(keyboard.Counters().repeats, 1u);
    EXPECT_EQ(output_.Acknowledges(), 3u);
}

TEST_F(VirtualKeyboardTest, HeadersAreRefusedForCapacitySlotAndForm) {
    KeyboardOptions options;
    options.slotCount = 4;
    options.capacity = 30000;
    options.initialSlots[0] = SlotContent{"Full", test::WellFormedImage()};
    VirtualKeyboard& keyboard = Make(options);
    const auto size = static_cast<std::uint32_t>(test::WellFormedImage().size());

    // The other slots' images count against the capacity; the target's own does not.
    keyboard.OnPacket(sysex::MakeFileHeaderMessage(1, size));
    EXPECT_EQ(LastStatus(sysex::kCommandFile), sysex::kStatusCapacity);
    keyboard.OnPacket(sysex::MakeFileHeaderMessage(0, size));
    EXPECT_EQ(LastStatus(sysex::kCommandFile), 0);
    keyboard.OnPacket(sysex::MakeFileHeaderMessage(4, 100));
    EXPECT_EQ(LastStatus(sysex::kCommandFile), VirtualKeyboard::kStatusNoSuchSlot);
    keyboard.OnPacket(sysex::MakeFileHeaderMessage(1, 0));
    EXPECT_EQ(LastStatus(sysex::kCommandFile), VirtualKeyboard::kStatusBadRequest);
    auto record = sysex::MakeHeaderRecord(1, 100);
    record[6] = 2;  // the value that must be 1
    keyboard.OnPacket(sysex::MakePackedMessage(sysex::kCommandFile, record));
    EXPECT_EQ(LastStatus(sysex::kCommandFile), VirtualKeyboard::kStatusBadRequest);
    // File data without an accepted header is not stored anywhere.
    test::Feed(keyboard, sysex::MakeFileDataMessage(test::WellFormedImage()));
    EXPECT_NE(LastStatus(sysex::kCommandFile), 0);
    EXPECT_EQ(keyboard.Slot(0)->name, "Full");
}

TEST_F(VirtualKeyboardTest, FileDataIsStoredOnlyWithTheRightSumAndAWellFormedImage) {
    VirtualKeyboard& keyboard = Make();
    const auto& image = test::WellFormedImage();

    auto badSum = sysex::MakeFileDataMessage(image);
    badSum[badSum.size() - 3] ^= 0x01;
    test::Feed(keyboard, sysex::MakeFileHeaderMessage(2, static_cast<std::uint32_t>(image.size())));
    test::Feed(keyboard, badSum);
    EXPECT_EQ(LastStatus(sysex::kCommandFile), sysex::kStatusBadChecksum);
    EXPECT_FALSE(keyboard.Slot(2));

    Download(2, test::MalformedImage());
    EXPECT_EQ(LastStatus(sysex::kCommandFile), VirtualKeyboard::kStatusBadImage);
    EXPECT_FALSE(keyboard.Slot(2));

    output_.Clear();
    Download(2, image);
    EXPECT_EQ(LastStatus(sysex::kCommandFile), 0);
    ASSERT_TRUE(keyboard.Slot(2));
    EXPECT_EQ(keyboard.Slot(2)->image, image);
    EXPECT_EQ(keyboard.Slot(2)->name, "Style 003");
    // One acknowledge per packet: the header and the 891 packets of the data.
    EXPECT_EQ(output_.Acknowledges(), 892u);
}

TEST_F(VirtualKeyboardTest, AnAbandonedDownloadLeavesNothingBehind) {
    VirtualKeyboard& keyboard = Make();
    const auto& image = test::WellFormedImage();
    test::Feed(keyboard, sysex::MakeFileHeaderMessage(0, static_cast<std::uint32_t>(image.size())));
    const auto packets = test::Packets(sysex::MakeFileDataMessage(image));
    for (std::size_t i = 0; i < 10; ++i)
        keyboard.OnPacket(packets[i]);
    // The computer gave up (a lost acknowledge) and connects again.
    keyboard.OnPacket(sysex::MakeConnectRequest());
    EXPECT_EQ(LastStatus(sysex::kCommandConnect), 0);
    for (std::size_t i = 10; i < packets.size(); ++i)
        keyboard.OnPacket(packets[i]);
    EXPECT_EQ(ReplyCommand(LastReply()), sysex::kCommandConnect);
    EXPECT_FALSE(keyboard.Slot(0));
}

// What the computer puts on the wire when it stops a message after `packets` packets: those
// packets, then the packet that ends it.
void FeedCut(VirtualKeyboard& keyboard, std::span<const std::uint8_t> message, std::size_t packets,
             bool close) {
    const auto all = test::Packets(message);
    std::vector<std::uint8_t> sent;
    for (std::size_t i = 0; i < packets; ++i) {
        keyboard.OnPacket(all[i]);
        sent.insert(sent.end(), all[i].begin() + (i == 0 ? 0 : 1), all[i].end() - 1);
    }
    if (close)
        keyboard.OnPacket(sysex::MakeClosingPacket(sent));
}

TEST_F(VirtualKeyboardTest, ACutDownloadClosedByAShortPacketIsAnsweredAsDamagedUnderBothRules) {
    for (const JoinRule rule : {JoinRule::ByFrameStart, JoinRule::ByLength}) {
        KeyboardOptions options;
        options.joinRule = rule;
        options.initialSlots[1] = SlotContent{"Old", test::WellFormedImage()};
        VirtualKeyboard& keyboard = Make(options);
        const auto image = test::MalformedImage();
        test::Feed(keyboard,
                   sysex::MakeFileHeaderMessage(1, static_cast<std::uint32_t>(image.size())));
        ASSERT_EQ(LastStatus(sysex::kCommandFile), 0);
        FeedCut(keyboard, sysex::MakeFileDataMessage(image), 300, true);
        EXPECT_EQ(LastStatus(sysex::kCommandFile), sysex::kStatusBadChecksum);
        EXPECT_EQ(keyboard.Counters().checksumErrors, 1u);
        // Every packet, the closing one too, was acknowledged; the next request stands alone.
        EXPECT_EQ(output_.Acknowledges(), 1u + 300 + 1);
        keyboard.OnPacket(sysex::MakeConnectRequest());
        EXPECT_EQ(LastStatus(sysex::kCommandConnect), 0);
        EXPECT_EQ(keyboard.Slot(1)->image, test::WellFormedImage());
        output_.Clear();
    }
}

TEST_F(VirtualKeyboardTest, ByLengthAnUnclosedCutMessageTakesTheNextRequestIn) {
    KeyboardOptions options;
    options.joinRule = JoinRule::ByLength;
    VirtualKeyboard& keyboard = Make(options);
    const auto& image = test::WellFormedImage();
    test::Feed(keyboard, sysex::MakeFileHeaderMessage(0, static_cast<std::uint32_t>(image.size())));
    FeedCut(keyboard, sysex::MakeFileDataMessage(image), 10, false);
    // As a simple firmware would: the connect request ends the cut data message, which is
    // answered as damaged, and the connect itself is never seen.
    keyboard.OnPacket(sysex::MakeConnectRequest());
    EXPECT_EQ(LastStatus(sysex::kCommandFile), sysex::kStatusBadChecksum);
    EXPECT_FALSE(keyboard.Slot(0));
}

TEST_F(VirtualKeyboardTest, FaultSwitchesDropDelayAndSilence) {
    KeyboardOptions options;
    options.faults.dropAckOfPacket = 2;
    options.faults.replyDelay = std::chrono::milliseconds{250};
    options.faults.slotListOutOfOrder = true;
    VirtualKeyboard& keyboard = Make(options);
    keyboard.OnPacket(sysex::MakeConnectRequest());
    keyboard.OnPacket(sysex::MakeConnectRequest());  // its acknowledge is lost, its reply is not
    keyboard.OnPacket(sysex::MakeSlotListRequest());
    EXPECT_EQ(output_.Acknowledges(), 2u);
    const auto sent = output_.All();
    for (const auto& message : sent) {
        const bool ack = sysex::IsAcknowledge(message.message);
        EXPECT_EQ(message.delay, std::chrono::milliseconds(ack ? 0 : 250));
    }
    const auto replies = output_.Replies();
    ASSERT_EQ(replies.size(), 3u);
    EXPECT_EQ(sysex::ParseNamedRecord(ReplyRecord(replies[2]))->index, 1);

    KeyboardFaults silent;
    silent.silent = true;
    keyboard.SetFaults(silent);
    output_.Clear();
    keyboard.OnPacket(sysex::MakeConnectRequest());
    EXPECT_TRUE(output_.All().empty());
    EXPECT_EQ(keyboard.Counters().packets, 4u);

    KeyboardFaults lateAcks;
    lateAcks.lateAckEvery = 3;
    lateAcks.lateAckBy = std::chrono::milliseconds{150};
    keyboard.SetFaults(lateAcks);
    output_.Clear();
    for (int i = 0; i < 7; ++i)
        keyboard.OnPacket(sysex::MakeConnectRequest());
    std::vector<long long> ackDelays;
    for (const auto& out : output_.All()) {
        if (sysex::IsAcknowledge(out.message))
            ackDelays.push_back(
                std::chrono::duration_cast<std::chrono::milliseconds>(out.delay).count());
    }
    // What follows a late acknowledge waits for it, as on the real line.
    ASSERT_EQ(ackDelays.size(), 7u);
    EXPECT_EQ(ackDelays[0], 0);
    EXPECT_EQ(ackDelays[1], 0);
    EXPECT_EQ(ackDelays[2], 150);
    EXPECT_EQ(ackDelays[5], 150);
}

TEST_F(VirtualKeyboardTest, AFolderStoreKeepsSlotsAcrossRuns) {
    ScopedTempDir folder;
    KeyboardOptions options;
    options.storeFolder = folder.Path() / "slots";
    Make(options);
    Download(5, test::WellFormedImage());
    EXPECT_EQ(test::ReadBytes(options.storeFolder / "slot-005.mix"), test::WellFormedImage());

    VirtualKeyboard& again = Make(options);
    ASSERT_TRUE(again.Slot(5));
    EXPECT_EQ(again.Slot(5)->name, "Style 006");
    again.OnPacket(*sysex::MakeDeleteRequest(5));
    EXPECT_EQ(LastStatus(sysex::kCommandDelete), 0);
    EXPECT_FALSE(fs::exists(options.storeFolder / "slot-005.mix"));
    EXPECT_FALSE(Make(options).Slot(5));
}

TEST_F(VirtualKeyboardTest, ASlotThatCannotBeWrittenIsReportedAndKeepsItsContent) {
    ScopedTempDir folder;
    KeyboardOptions options;
    options.storeFolder = folder.Path();
    VirtualKeyboard& keyboard = Make(options);
    // A folder where the slot's file belongs: the atomic rename over it fails.
    fs::create_directories(folder.Path() / "slot-001.mix" / "inside");
    Download(1, test::WellFormedImage());
    EXPECT_EQ(LastStatus(sysex::kCommandFile), VirtualKeyboard::kStatusStoreFailed);
    EXPECT_FALSE(keyboard.Slot(1));
}

}  // namespace
}  // namespace vantrel
