// The common ground of the tests that drive engine objects: a scratch game
// folder with the result log open, a manual clock for the game timer, the
// device wrapper brought up from a written config, the result log read back,
// and a TearDown that shuts the engine down as the game does.
// Compiled only into the test programs that link the whole engine (see
// tests/CMakeLists.txt); programs of one layer cannot use it.
#ifndef ZV_TEST_ENGINE_TEST_BASE_H
#define ZV_TEST_ENGINE_TEST_BASE_H

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "TestSupport.h"

// One row of the result log: its define, location and information cells.
struct LogRow {
    std::string define, location, info;
};

class EngineTestBase : public ::testing::Test {
protected:
    // Opens Logs\QNResultLog.htm in the scratch folder, as the game does first.
    void SetUp() override;
    // Shuts the engine down as the game does (CQNEngineCore::shutdown), then
    // destroys m_hWnd and undoes the platform's test hooks (clock, input,
    // focus, message boxes, disk space).
    void TearDown() override;

    // Sets the manual clock to 1 s and initialises the game timer on it.
    static void startTestClock();
    // Makes m_hWnd, the 800 x 600 game window at (x, y), shows it with the
    // focus forced on it and initialises the input on it, with no device:
    // the input takes its window from the device wrapper, and what draws
    // only into logs reads the wrapper's 800 x 600 back-buffer size. Fatal
    // failures as startDevice.
    void openInputWindow(int x = CW_USEDEFAULT, int y = CW_USEDEFAULT);
    // Writes `config` as Assets\Scripts\Config\qnengine.cfg and initialises
    // the device wrapper on m_hWnd with it. A fatal failure when no device
    // comes up: call it inside ASSERT_NO_FATAL_FAILURE.
    void startDevice(const std::string& config = "[RESOLUTION] 800 600\n");

    // The result log's text so far (finishes the log).
    static std::string log();
    // The rows of the result log so far, header row left out (finishes the log).
    static std::vector<LogRow> logRows();
    // How many times `what` occurs in `text`.
    static int count(const std::string& text, const std::string& what);

    zvtestsupport::ScratchDir m_dir;
    HWND m_hWnd = nullptr;
};

#endif
