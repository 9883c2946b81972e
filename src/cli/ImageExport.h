// --image FILE: the result drawn as the window draws it, on a canvas of the --canvas size.
#pragma once

#include <string>

#include "cli/CliMethods.h"
#include "cli/CliOptions.h"

namespace qv::cli {

// True for the file types --image writes: .bmp, .jpg, .jpeg, .png and .svg (any case).
bool ImageTypeKnown(const std::string& path);

// The result of the run drawn as the content of options.ImageFile, of the type its extension
// names: BMP, JPEG (baseline, quality 90), PNG, or SVG as a vector drawing. Nothing is written
// here and nothing is printed: Qt's warnings while drawing stay off the terminal.
std::string ResultImage(const TCliOptions& options, const TCliDocument& document);

}  // namespace qv::cli
