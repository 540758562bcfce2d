// Test entry for the tests that need the application: offscreen, with a fresh HOME and
// configuration folder per process, and the numeric locale the program uses.

#include "platform/posix/numeric_locale.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string tmpl = (std::filesystem::temp_directory_path() / "plotwell-test-XXXXXX").string();
    if (char* home = mkdtemp(tmpl.data())) {
        setenv("HOME", home, 1);
        setenv("XDG_CONFIG_HOME", (std::string(home) + "/.config").c_str(), 1);
    }
    QApplication app(argc, argv);
    plotwell::platform::useCNumericLocale();
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(tmpl, ec);
    return rc;
}
