#pragma once
// Memory cards and USB drives on Linux: the folders where removable media are mounted
// take the place of drive letters.

#include <string>
#include <vector>

namespace plotwell::platform {

// The writable folders under /media/$USER, /run/media/$USER and /mnt, sorted within
// each place.
std::vector<std::string> listMountFolders();

} // namespace plotwell::platform
