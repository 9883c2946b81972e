// The ".pt" point-distribution format: an ASCII header line "NUB" (a point set) or "POL" (a
// closed polygon through the points in order), then the x and y of each point on lines of
// their own, every line ended by CR LF.
//
// The reader takes any bytes: it streams the input once, keeps at most a short prefix of a
// line for the message, and either returns the whole file's content or throws
// qv::UserError; it never returns part of a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "geometry/Tipos.h"

namespace qv {

// What the first line said; it matters only when it is exactly "NUB" or "POL".
enum class TCabeceraPT : uint8_t { Other, Nub, Pol };

struct TArchivoPT {
  TCabeceraPT Header = TCabeceraPT::Other;
  TNube Points;
  bool Polygon() const { return Header == TCabeceraPT::Pol; }
};

// Longest part of a refused line quoted in the message; a longer line is quoted by this
// many bytes followed by "...".
constexpr std::size_t kQuotedLineLimit = 200;

// Reads a whole ".pt" content held in memory. Throws UserError("'<line>' is not a valid
// integer value") for the first coordinate line that is not a 32-bit integer.
TArchivoPT ParsePT(std::string_view bytes);
// Reads the named file. Besides the messages of ParsePT: "File does not exist. Cannot load."
// when there is no such file, and the runtime's messages ("File not found", "File access
// denied", "I/O error 5", ...) when it cannot be opened or read.
TArchivoPT LoadPT(const std::string& fileName);

// One coordinate line's value: leading spaces, then a signed decimal or a "$", "x", "X", "0x"
// or "0X" hexadecimal of up to 8 digits read as a 32-bit pattern. False for anything else.
bool ParseCoordinate(std::string_view text, int32_t& value);

// The exact file content: header, then x and y of every point, each line ended by CR LF.
std::string FormatPT(const TNube& points, bool polygon);
// Writes FormatPT to the named file safely: the content goes to a new temporary file in the
// same folder, which then replaces the target in one rename. On failure the old file is
// untouched, no temporary is left and UserError carries the runtime's message ("Disk full",
// "File access denied", ...).
void SavePT(const std::string& fileName, const TNube& points, bool polygon);
// The safe save behind SavePT, for any content.
void WriteFileSafely(const std::string& fileName, const std::string& content);

// The runtime's text for a failed file operation with the given errno value.
std::string FileErrorMessage(int error);

}  // namespace qv
