#pragma once
#include <filesystem>

namespace lakedrift {

// The path to open for the data file `name` (geometry, flow field, music,
// picture): a bare name that is not in `currentFolder` but is in
// `dataFolder` opens from there; a name found in the current folder, one
// found nowhere (so that messages name it as given) and one that names a
// folder of its own open as given.
std::filesystem::path DataFilePath(const std::filesystem::path& name,
                                   const std::filesystem::path& currentFolder,
                                   const std::filesystem::path& dataFolder);

// The same from the process's current folder and the installed data folder.
std::filesystem::path DataFilePath(const std::filesystem::path& name);

// The folder the installation puts the sample data in, found from the
// running program's folder; empty in a build that installs none.
std::filesystem::path InstalledDataFolder();

}  // namespace lakedrift
