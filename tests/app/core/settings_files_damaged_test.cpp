// Project settings files damaged on disk, as fuzzing found them: what is read writes back
// whole and reads back the same.

#include "app/core/settings_files.h"

#include <gtest/gtest.h>

#include <string>

using namespace plotwell::workspace;

TEST(SettingsFilesDamaged, NameWithNulBytesIsWrittenWholeAndReadsBack) {
    // The fuzzer's [OpenFiles] line: twenty NUL bytes before the name.
    const std::string name = std::string(20, '\0') + "Untitled";
    const std::string file = "[OpenFiles]\r\n\"" + name + "\" 0 3 2 0\r\n";
    ProjectValues values;
    const ProjectReadResult r = readProjectSettings(file, values);
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].WaveName, name);

    const std::string written = formatProjectSettings(r.entries, values);
    EXPECT_NE(written.find("\"" + name + "\" 0 3 2 0\r\n"), std::string::npos);
    ProjectValues again;
    const ProjectReadResult back = readProjectSettings(written, again);
    ASSERT_EQ(back.entries.size(), 1u);
    EXPECT_EQ(back.entries[0], r.entries[0]);
}
