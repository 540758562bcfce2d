#pragma once
// Switches the process to a locale whose decimal separator is a comma, for the tests that
// show numbers never follow the user's locale. When no such locale is installed, one is
// built from the system's locale sources into a folder of its own (once per machine).

#include <clocale>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

class DecimalCommaLocale {
public:
    DecimalCommaLocale() {
        old_ = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
            if (tryLocale(name))
                return;
        const std::string dir = "/tmp/plotwell-test-locales";
        const std::string target = dir + "/de_DE.UTF-8";
        struct stat st {};
        if (stat(target.c_str(), &st) != 0) {
            // Built aside and renamed into place, so parallel test processes never see half of it.
            const std::string part = target + ".part" + std::to_string(getpid());
            const std::string cmd =
                "mkdir -p " + dir + " && localedef -c -i de_DE -f UTF-8 " + part + " >/dev/null 2>&1";
            if (std::system(cmd.c_str()) == 0 || stat(part.c_str(), &st) == 0)
                std::rename(part.c_str(), target.c_str());
            std::system(("rm -rf " + part).c_str());
            if (stat(target.c_str(), &st) != 0)
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
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;
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
