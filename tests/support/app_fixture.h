#pragma once
// A fixture that builds the whole application as the program does: the 35 forms, the
// frame shown and its start-up run, with the scripted UI in place of modal windows.

#include "platform/scripted_ui.h"

#include <gtest/gtest.h>

#include <QPoint>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QWidget;
class TWFMform;

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Lets queued events (posted closes, deferred deletes, timers due now) run.
    static void processEvents();
    // Runs the event loop as the program does until the program ends it, at most `ms`: the
    // code it ended with, or -1 when the time ran out (the program would have run on).
    static int runUntilExit(int ms = 10000);
    // The folder of this test's files (inside the per-process HOME).
    std::string tempDir() const { return dir_; }
    std::string tempFile(const std::string& name) const { return dir_ + "/" + name; }
    static void writeFile(const std::string& path, const std::string& bytes);
    static std::string readFile(const std::string& path);

    // File > New through the frame; returns the new window.
    TWFMform* newWindow();
    // A new window holding n points of reference r, code(i) each, fully selected.
    TWFMform* newWindow(int n, uint16_t r, const std::function<uint16_t(int)>& code, const char* name);

    // The six texts of the frame's status panel, left to right.
    static std::vector<std::string> statusPanel();

    // A left-button drag from one point to another through the middle, as a hand makes it.
    static void drag(QWidget* target, QPoint from, QPoint to);

    plotwell::platform::ScriptedUi ui;

private:
    std::string dir_;
};
