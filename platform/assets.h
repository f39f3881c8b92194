// Pictures embedded in the executable, and PNG reading and writing.
#pragma once

#include "platform/surface.h"

#include <cstddef>
#include <memory>
#include <string>

namespace platform {

struct EmbeddedAsset {
    const char* name;
    const unsigned char* data;
    std::size_t size;
};
extern const EmbeddedAsset kEmbeddedAssets[]; // ends with a null name

// The embedded picture of that file name (for example "pTitle.png"), decoded once and shared.
// A missing or broken picture gives a small magenta stand-in so that the fault is seen.
std::shared_ptr<const Picture> LoadPicture(const std::string& name);

// Decodes PNG bytes; nullptr when they are not a PNG.
std::shared_ptr<Picture> DecodePng(const unsigned char* data, std::size_t size);
std::shared_ptr<Picture> ReadPng(const std::string& path);

// Writes a PNG (RGB, or RGBA when the picture has transparency). Same input, same bytes.
bool WritePng(const Picture& picture, const std::string& path);
bool WritePng(const Surface& surface, const std::string& path);

} // namespace platform
