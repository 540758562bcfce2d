#include "common/numtext.h"
#include "platform/form.h"
#include "platform/posix/environment.h"
#include "platform/posix/folders.h"
#include "platform/qt_ui.h"
#include "platform/screen_cursor.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <cmath>

#include <cstdlib>
#include <filesystem>

using namespace plotwell;

TEST(QtFilter, BarFiltersBecomeQtFiltersWithUpperCasePatterns) {
    EXPECT_EQ(platform::toQtFilter("Plotwell *.wfm files|*.wfm|All Files *.*|*.*"),
              "Plotwell *.wfm files (*.wfm *.WFM);;All Files *.* (*)");
    EXPECT_EQ(platform::toQtFilter("Tektronix *.isf files|*.isf"), "Tektronix *.isf files (*.isf *.ISF)");
}

TEST(Folders, ConfigFollowsXdgElseHome) {
    const std::string saved = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
    EXPECT_EQ(platform::configDir(), "/somewhere/config");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(platform::configDir(), std::string(std::getenv("HOME")) + "/.config");
    EXPECT_EQ(platform::documentsDir(), std::string(std::getenv("HOME")) + "/Documents");
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}

// The instrument library overrides are read this way: set and not empty, or the default.
TEST(Environment, AVariableThatIsSetAndNotEmptyOverridesTheDefault) {
    const char* name = "PLOTWELL_GPIB_LIBRARY";
    setenv(name, "/opt/lib/libgpib.so", 1);
    EXPECT_EQ(platform::environmentOr(name, "libgpib.so.0"), "/opt/lib/libgpib.so");
    setenv(name, "", 1);
    EXPECT_EQ(platform::environmentOr(name, "libgpib.so.0"), "libgpib.so.0");
    unsetenv(name);
    EXPECT_EQ(platform::environmentOr(name, "libgpib.so.0"), "libgpib.so.0");
}

TEST(Folders, ParentsAreCreatedOnDemand) {
    const std::string base = std::string(std::getenv("HOME")) + "/a/b";
    EXPECT_TRUE(platform::ensureParentDir(base + "/c/PWSET.INI"));
    EXPECT_TRUE(std::filesystem::is_directory(base + "/c"));
    EXPECT_EQ(platform::joinPath("/x/", "y"), "/x/y");
    EXPECT_EQ(platform::joinPath("/x", "y"), "/x/y");
    EXPECT_EQ(platform::fileNameOnly("/x/y/wave.wfm"), "wave.wfm");
    EXPECT_EQ(platform::fileNameOnly("wave.wfm"), "wave.wfm");
}

TEST(ScreenCursor, KeepsOneOverrideEntry) {
    {
        platform::BusyCursor outer;
        EXPECT_EQ(platform::screenCursor(), platform::ScreenCursor::Busy);
        {
            platform::BusyCursor inner;
            EXPECT_EQ(platform::screenCursor(), platform::ScreenCursor::Busy);
        }
        EXPECT_EQ(platform::screenCursor(), platform::ScreenCursor::Busy);
    }
    EXPECT_EQ(platform::screenCursor(), platform::ScreenCursor::Default);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(NumberText, FormatsAndParsesWithAPointOnly) {
    EXPECT_EQ(common::cformat("%1.2f|%+7.5f|%d", 2.5, -0.25, 42), "2.50|-0.25000|42");
    EXPECT_EQ(common::parseDouble("  1.5e3").value(), 1500.0);
    EXPECT_FALSE(common::parseDouble("0x10"));
    EXPECT_FALSE(common::parseDouble("2,5"));
    EXPECT_FALSE(common::parseDouble("inf"));
    std::size_t used = 0;
    EXPECT_EQ(common::parseDoublePrefix("0x10", &used).value(), 0.0);
    EXPECT_EQ(used, 1u);
    EXPECT_TRUE(std::isinf(common::parseDouble("1e999").value()));
    EXPECT_EQ(common::parseDouble("1e-999").value(), 0.0);
    EXPECT_EQ(common::parseInt("-12").value(), -12);
    EXPECT_EQ(common::parseInt("99999999999").value(), INT32_MAX);
    EXPECT_FALSE(common::parseInt("12a"));
}

TEST(Form, KeepsItsWholeCaptionAndItsLayoutsMinimum) {
    platform::Form form("Narrow");
    auto* layout = new QVBoxLayout(&form);
    auto* edit = new QLineEdit(&form);
    layout->addWidget(edit);
    form.setWindowTitle("A");
    form.show();
    EXPECT_GE(form.width(), platform::captionWidth("A"));
    // A caption set while the form is up widens it at once.
    const QString longer = "Bit Pattern for a waveform with a long name";
    form.setWindowTitle(longer);
    EXPECT_GE(form.width(), platform::captionWidth(longer));
    // Contents that grow still hold their own minimum.
    edit->setMinimumWidth(2 * platform::captionWidth(longer));
    QApplication::processEvents();
    EXPECT_GE(form.minimumWidth(), edit->minimumWidth());
}

TEST(Form, MeasuresACaptionOnlyWhenItsTextChanges) {
    platform::Form form("Often");
    auto* layout = new QVBoxLayout(&form);
    layout->addWidget(new QLineEdit(&form));
    const int before = platform::captionMeasurements();
    // A hidden form waits for its showing.
    form.setWindowTitle("First");
    form.setWindowTitle("Second");
    EXPECT_EQ(platform::captionMeasurements(), before);
    form.show();
    EXPECT_EQ(platform::captionMeasurements(), before + 1);
    // Showings, layout changes and the same caption again cost nothing.
    for (int i = 0; i < 3; ++i) {
        form.hide();
        form.show();
        layout->addWidget(new QLineEdit(&form));
        QApplication::processEvents();
        form.setWindowTitle("Second");
    }
    EXPECT_EQ(platform::captionMeasurements(), before + 1);
    const int width = form.minimumWidth();
    form.setWindowTitle("Third, a caption much longer than the others were");
    EXPECT_EQ(platform::captionMeasurements(), before + 2);
    EXPECT_GT(form.minimumWidth(), width);
    // A caption set while hidden still widens the form at its next showing.
    form.hide();
    const QString longest = form.windowTitle() + form.windowTitle();
    form.setWindowTitle(longest);
    form.show();
    EXPECT_GE(form.width(), platform::captionWidth(longest));
}
