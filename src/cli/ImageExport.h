// --image FILE: the result drawn as the window draws it, on a canvas of the --canvas size.
#pragma once

#include <string>

#include "cli/CliMethods.h"
#include "cli/CliOptions.h"

namespace qv::cli {

// True for the file types --image writes: .bmp, .jpg, .jpeg, .png, .svg, .pdf and .tikz (any
// case).
bool ImageTypeKnown(const std::string& path);

// The result of the run drawn as the content of options.ImageFile, of the type its extension
// names: BMP, JPEG (baseline, quality 90), PNG, SVG or PDF as a vector drawing, or a TikZ
// picture. Nothing is written here and nothing is printed: Qt's warnings while drawing stay off
// the terminal.
std::string ResultImage(const TCliOptions& options, const TCliDocument& document);

// Makes the offscreen widgets application that text and charts need, once.
void EnsureGuiApplication();

}  // namespace qv::cli
