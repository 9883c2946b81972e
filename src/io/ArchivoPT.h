// The ".pt" point-distribution format: an ASCII header line "NUB" (a point set) or "POL" (a
// closed polygon through the points in order), then the x and y of each point on lines of
// their own, every line ended by CR LF.
//
// The reader takes any bytes: it streams the input once, keeps at most a short prefix of a
// line for the message, and either returns the whole file's content or throws
// qv::UserError; it never returns part of a file. Files written by other editors read as
// meant: a UTF-8 byte-order mark and blanks around the header word are not part of it, and a
// file whose first 64 KiB hold a CR but no LF has its lines ended by CR.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "geometry/Tipos.h"
#include "io/Salida.h"

namespace qv {

// What the first line said; it matters only when it is exactly "NUB" or "POL".
enum class TCabeceraPT : uint8_t { Other, Nub, Pol };

struct TArchivoPT {
  TCabeceraPT Header = TCabeceraPT::Other;
  TNube Points;
  bool Polygon() const { return Header == TCabeceraPT::Pol; }
};

// Longest part of bad input quoted in a message; longer input is quoted by this many
// characters followed by "...".
constexpr std::size_t kQuotedLineLimit = 40;

// A byte of bad input as a message shows it: printable ASCII as itself, anything else as '?'.
char PrintableOrMark(char c);
// Bad input as a message quotes it: its first kQuotedLineLimit bytes by PrintableOrMark, then
// "..." when it was longer.
std::string QuotedInput(std::string_view text);

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
// Writes FormatPT to the named file through WriteFileSafely: on failure the old file is
// untouched and TFileError carries the runtime's message ("Disk full", "File access denied", ...).
void SavePT(const std::string& fileName, const TNube& points, bool polygon);

}  // namespace qv
