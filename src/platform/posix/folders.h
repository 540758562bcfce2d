#pragma once
// Where the program keeps its files, in place of the Windows shell folders.

#include <string>

namespace plotwell::platform {

// $XDG_CONFIG_HOME, else ~/.config: stands for the per-user application-data folder.
std::string configDir();
// ~/Documents: stands for the user's documents folder.
std::string documentsDir();
// The process's current directory.
std::string currentDir();
// Creates `dir` and its parents (mkdir -p). True when the folder exists afterwards.
bool ensureDir(const std::string& dir);
// Creates the folder that will hold `file`.
bool ensureParentDir(const std::string& file);
// Joins a folder and a name with one '/'.
std::string joinPath(const std::string& dir, const std::string& name);
// The part after the last '/'.
std::string fileNameOnly(const std::string& path);

} // namespace plotwell::platform
