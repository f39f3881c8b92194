// The file-existence test: true for a plain file of that name; a folder does not count.
#pragma once

#include <string>

bool FileExists(const std::string& path);
