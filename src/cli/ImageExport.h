// --image FILE: the result drawn as the window draws it, on a canvas of the --canvas size.
#pragma once

#include <string>

#include "cli/CliMethods.h"
#include "cli/CliOptions.h"

namespace qv::cli {

// True for the file types --image writes: .bmp, .jpg, .jpeg, .png, .svg, .pdf and .tikz (any
// case).
bool ImageTypeKnown(const std::string& path);

// Draws the result of the run into options.ImageFile: BMP, JPEG (baseline, quality 90), PNG,
// SVG or PDF as a vector drawing, or a TikZ picture. Throws UserError when the file cannot be
// written.
void WriteResultImage(const TCliOptions& options, const TCliDocument& document);

}  // namespace qv::cli
