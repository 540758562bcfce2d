// Project settings files damaged on disk, as fuzzing found them: what is read writes back
// whole and reads back the same.

#include "app/core/settings_files.h"

#include <gtest/gtest.h>

#include <string>

using namespace plotwell::app;

TEST(SettingsFilesDamaged, NameWithNulBytesIsNoEntryAndWhatIsReadReadsBack) {
    // The fuzzer's [OpenFiles] line: twenty NUL bytes before the name. Such a name is no
    // file that can be opened; the entries around it still are.
    const std::string name = std::string(20, '\0') + "Untitled";
    const std::string file = "[OpenFiles]\r\n\"" + name + "\" 0 3 2 0\r\n\"Untitled\" 0 1 2 0\r\n";
    ProjectValues values;
    const ProjectReadResult r = readProjectSettings(file, values);
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].WaveName, "Untitled");

    const std::string written = formatProjectSettings(r.entries, values);
    ProjectValues again;
    const ProjectReadResult back = readProjectSettings(written, again);
    EXPECT_EQ(back.entries, r.entries);
}

TEST(SettingsFilesDamaged, TextsWithControlCharactersAreTakenAsMissing) {
    for (const std::string& bad : {std::string("victim.txt\0", 11),
                                   std::string("a\x01"
                                               "b"),
                                   std::string("t\tab"), std::string("\x7f")}) {
        SCOPED_TRACE(::testing::PrintToString(bad));
        // Global settings: either key so damaged gives no settings (the defaults apply).
        EXPECT_FALSE(readGlobalSettings("HomeDir \"/home/u\"\r\nPrjFile \"" + bad + "\"\r\n"));
        EXPECT_FALSE(readGlobalSettings("HomeDir \"" + bad + "\"\r\nPrjFile \"Default\"\r\n"));
        // A listed window so named is not reopened.
        ProjectValues values;
        const auto r =
            readProjectSettings("[OpenFiles]\r\n\"" + bad + "\" 1 0 0 0\r\n[SystemValues]\r\n", values);
        EXPECT_TRUE(r.entries.empty());
        // A text key so damaged is a missing key: the keys from it on keep their values.
        ProjectValues v;
        v.TransferSettings.dlMake = "kept";
        std::string ini = formatProjectSettings({}, ProjectValues{});
        const auto at = ini.find("dlMake ") + 7;
        ini.replace(at, ini.find("\r\n", at) - at, bad);
        const auto read = readProjectSettings(ini, v);
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(v.TransferSettings.dlMake, "kept");
    }
    EXPECT_TRUE(readGlobalSettings("HomeDir \"/home/u\"\r\nPrjFile \"D\xc3\xa9j\xc3\xa0\"\r\n"));
}

TEST(SettingsFilesDamaged, NamesLongerThanThePathLimitAreNoEntries) {
    ProjectValues values;
    for (std::size_t length : {4096u, 4097u, 100000u}) {
        const auto r =
            readProjectSettings("[OpenFiles]\r\n\"" + std::string(length, 'n') + "\" 1 0 0 0\r\n", values);
        EXPECT_EQ(r.entries.size(), length <= 4096 ? 1u : 0u) << length;
    }
}
