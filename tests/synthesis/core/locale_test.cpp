// Numbers in expressions and generator templates never follow the user's locale: a
// decimal comma would end every bracket level and silently change the waveform.

#include "synthesis/core/expression.h"
#include "workspace/core/numtext.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

using namespace plotwell;
using namespace plotwell::synthesis;

namespace {

// Switches the process to a locale whose decimal separator is a comma, building one from
// the system's locale sources when none is installed.
class DecimalCommaLocale {
public:
    DecimalCommaLocale() {
        old_ = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
            if (tryLocale(name))
                return;
        const std::string dir = "/tmp/plotwell-test-locales";
        struct stat st {};
        if (stat((dir + "/de_DE.UTF-8").c_str(), &st) != 0) {
            const std::string cmd = "mkdir -p " + dir + " && localedef -c -i de_DE -f UTF-8 " + dir +
                                    "/de_DE.UTF-8 >/dev/null 2>&1";
            if (std::system(cmd.c_str()) != 0 && stat((dir + "/de_DE.UTF-8").c_str(), &st) != 0)
                return;
        }
        setenv("LOCPATH", dir.c_str(), 1);
        locpath_ = true;
        tryLocale("de_DE.UTF-8");
    }
    ~DecimalCommaLocale() {
        std::setlocale(LC_ALL, old_.c_str());
        if (locpath_)
            unsetenv("LOCPATH");
    }
    bool active() const { return active_; }

private:
    bool tryLocale(const char* name) {
        if (std::setlocale(LC_ALL, name) && std::string(std::localeconv()->decimal_point) == ",")
            active_ = true;
        return active_;
    }
    std::string old_;
    bool locpath_ = false;
    bool active_ = false;
};

TEST(ExpressionLocale, NumbersAndTemplatesIgnoreADecimalCommaLocale) {
    DecimalCommaLocale locale;
    if (!locale.active())
        GTEST_SKIP() << "no decimal-comma locale can be made here";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%1.2f", 2.5);
    ASSERT_STREQ(probe, "2,50"); // the locale is really in force

    const std::string sine = workspace::cformat("amp*sin(omg*(t*%1.2f+per*%1.2f/360))", 2.5, 90.0);
    EXPECT_EQ(sine, "amp*sin(omg*(t*2.50+per*90.00/360))");
    const auto p = ExpressionParameters::forRange(100, 65535);
    const auto r = evaluateExpression(sine, 10, p);
    EXPECT_EQ(r.error, 0);
    EXPECT_DOUBLE_EQ(r.value, 32767 * std::sin(p.Omg * (10 * 2.5 + 100 * 90.0 / 360)));
    EXPECT_EQ(evaluateExpression("2.5*2", 0, p).value, 5.0);
    EXPECT_EQ(evaluateExpression("1.5e1", 0, p).value, 15.0);
    // A comma is a level end, never a decimal separator.
    EXPECT_EQ(evaluateExpression("2,5", 0, p).value, 2.0);
    EXPECT_EQ(evaluateExpression("0x10", 0, p).error, 4);
}

} // namespace
