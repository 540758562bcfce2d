#pragma once
// The files and folders of a project, built from its home folder and name. Names keep
// their case exactly: the files are found on case-sensitive file systems.

#include <optional>
#include <string>

namespace plotwell::workspace {

struct ProjectPaths {
    std::string ProjectIniPath;    // <home>/<name>.INI, the project settings file
    std::string ProjectMarkerFile; // <home>/<name>.prj, empty; its existence marks the project
    std::string ExpressionLibrary; // <home>/<name>.LIB
    // Starting folders of the file dialogs, each ending in '/'.
    std::string WaveCadDefaultDir; // <home>/WAVECAD/
    std::string WaveCadDir;        // the WaveCAD folder in use, first the default one
    std::string WaveCadQv3030Dir;  // <WaveCadDir>QV3030/
    std::string WaveCadQva3460Dir; // <WaveCadDir>QVA3460/
    std::string Gs2020Dir;         // <home>/GS2020/
    std::string ZeloDir;           // <home>/ZELO/ (data-logger files)
    std::string TdsDir;            // <home>/TDS/
    std::string WavesDir;          // <home>/WAVES/
    std::string PatternsDir;       // <home>/PATTERNS/
    bool operator==(const ProjectPaths&) const = default;
};

ProjectPaths projectPaths(const std::string& homeDir, const std::string& prjFile);

// A project chosen in a file dialog: its folder (no trailing '/') and its name (the file
// name without ".prj", in any case).
struct ChosenProject {
    std::string folder;
    std::string name;
};
// nullopt when the file name leaves no project name.
std::optional<ChosenProject> chosenProject(const std::string& file);

} // namespace plotwell::workspace
