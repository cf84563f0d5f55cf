#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "FakePortBackend.h"
#include "ScriptedDevice.h"
#include "device/CMidiDevice.h"
#include "device/CMidiTrans.h"
#include "device/LinkState.h"

namespace vantrel::test {

// A shared CMidiDevice on a fake backend with a scripted device behind it; the instance is
// released (ports closed) at the end of each test, and the link words start from rest.
class DeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Link().linkIdle.store(true);
        Link().packetAcked.store(false);
        Link().progressEnabled.store(false);
        device_ = CMidiDevice::AcquireDevice();
        backend_ = std::make_shared<FakePortBackend>();
        backend_->SetResponder(script_.Responder());
        device_->SetBackend(backend_);
        // The protocol's handler is what turns the device's acknowledges into PacketAcked.
        device_->SetSysExHandler(&CMidiTrans::OnDeviceMessage);
    }
    void TearDown() override {
        CMidiDevice::ReleaseDevice();
        Link().progressEnabled.store(false);
    }
    void OpenLink() {
        device_->EnumeratePorts();
        ASSERT_TRUE(device_->OpenInput(0));
        ASSERT_TRUE(device_->OpenOutput(0));
        ASSERT_TRUE(device_->StartInput());
    }

    ScriptedDevice script_;
    std::shared_ptr<FakePortBackend> backend_;
    CMidiDevice* device_ = nullptr;
};

}  // namespace vantrel::test
