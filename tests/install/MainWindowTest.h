// A test of the main window's commands: the main dialog, created modeless on
// the test's thread, and a temporary directory of its own.
#pragma once

#include "app/MainDlg.h"

#include "support/ScratchTempFolder.h"

#include <gtest/gtest.h>

#include <memory>

class MainWindowTest : public testing::Test {
protected:
    enum Devices { KeepPortDevices, RemovePortDevicesAround };

    // With RemovePortDevicesAround, no port device of the system is there
    // when the window comes up, nor after the test.
    explicit MainWindowTest(Devices devices = KeepPortDevices) : m_devices(devices) {}

    void SetUp() override;
    void TearDown() override;

    CListCtrl& List() { return m_main->PortList(); }
    // A row that only a refresh of the list takes away.
    void AddSentinelRow(bool selected);

    ScratchTempFolder m_temp;
    std::unique_ptr<CMainDlg> m_main;

private:
    Devices m_devices;
};
