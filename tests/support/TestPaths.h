#pragma once
#include <filesystem>
#include <string>

namespace lakedrift::test {

// Committed test inputs (tests/data).
std::filesystem::path TestDataPath(const std::string& name);
// Generated sample data of the build (build/data).
std::filesystem::path SampleDataPath(const std::string& name);
// A fresh, empty folder under the build's test-output folder.
std::filesystem::path FreshOutputDir(const std::string& name);
// Writes text to a file, creating its folder.
void WriteTextFile(const std::filesystem::path& path, const std::string& text);

}  // namespace lakedrift::test
