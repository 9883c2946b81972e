#include "io/ArchivoPT.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "geometry/UserError.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

constexpr int kEnd = -1;
constexpr int kCtrlZ = 26;
// The first bytes of a file tell its line ends: see CrEndsLines.
constexpr std::size_t kLineEndWindow = 1 << 16;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// ---- Byte sources ------------------------------------------------------------------------

class TMemorySource {
 public:
  explicit TMemorySource(std::string_view bytes) : bytes_(bytes) {}
  int Peek() const {
    return pos_ < bytes_.size() ? static_cast<unsigned char>(bytes_[pos_]) : kEnd;
  }
  int Get() {
    int c = Peek();
    if (c != kEnd) ++pos_;
    return c;
  }
  // The unread bytes, up to the line-end window.
  std::string_view Ahead() const { return bytes_.substr(pos_, kLineEndWindow); }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

// Reads the file in fixed blocks; a read error stops with the runtime's message.
class TFileSource {
 public:
  explicit TFileSource(std::FILE* file) : file_(file), buffer_(kLineEndWindow) {}
  int Peek() {
    if (pos_ == length_ && !Fill()) return kEnd;
    return buffer_[pos_];
  }
  int Get() {
    int c = Peek();
    if (c != kEnd) ++pos_;
    return c;
  }
  // The unread bytes of the current block; at the start of the file, its first block.
  std::string_view Ahead() {
    Peek();
    return {reinterpret_cast<const char*>(buffer_.data()) + pos_, length_ - pos_};
  }

 private:
  bool Fill() {
    if (ended_) return false;
    errno = 0;
    length_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    pos_ = 0;
    if (length_ > 0) return true;
    if (std::ferror(file_)) throw UserError(FileErrorMessage(errno != 0 ? errno : EIO));
    ended_ = true;
    return false;
  }

  std::FILE* file_;
  std::vector<unsigned char> buffer_;
  std::size_t pos_ = 0;
  std::size_t length_ = 0;
  bool ended_ = false;
};

// ---- Lines -------------------------------------------------------------------------------

// A file whose first block holds a CR and no LF was written with CR line ends (older editors
// do so); in any other file a lone CR is a stray byte.
bool CrEndsLines(std::string_view start) {
  return start.find('\r') != std::string_view::npos && start.find('\n') == std::string_view::npos;
}

// Feeds the text of one line to sink, byte by byte: the line ends at LF or CR LF (not part of
// the text) or at the end of the input. A CR not followed by LF is dropped, or ends the line
// when crEnds.
template <class Source, class Sink>
void ReadLine(Source& in, bool crEnds, Sink&& sink) {
  for (;;) {
    int c = in.Get();
    if (c == kEnd || c == '\n') return;
    if (c == '\r') {
      if (in.Peek() == '\n') {
        in.Get();
        return;
      }
      if (crEnds) return;
      continue;
    }
    sink(static_cast<char>(c));
  }
}

// Recognises one coordinate as its bytes arrive, in constant memory whatever the length.
class TCoordinateReader {
 public:
  void Feed(char c) {
    if (quoted_.size() < kQuotedLineLimit)
      quoted_.push_back(PrintableOrMark(c));
    else
      truncated_ = true;
    state_ = Step(c);
  }
  bool Finish(int32_t& value) const {
    switch (state_) {
      case TState::Zero:
        value = 0;
        return true;
      case TState::Decimal:
        if (magnitude_ > (negative_ ? 2147483648ull : 2147483647ull)) return false;
        value = static_cast<int32_t>(negative_ ? -static_cast<int64_t>(magnitude_)
                                               : static_cast<int64_t>(magnitude_));
        return true;
      case TState::Hex:
        value = static_cast<int32_t>(static_cast<uint32_t>(magnitude_));
        return true;
      default:
        return false;
    }
  }
  std::string Quoted() const { return truncated_ ? quoted_ + "..." : quoted_; }

 private:
  enum class TState { Spaces, Sign, Zero, Decimal, HexStart, Hex, Bad };

  static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

  TState AddDecimal(char c) {
    // Saturates just past the largest magnitude; leading zeros may be any number.
    magnitude_ =
        std::min<uint64_t>(magnitude_ * 10 + static_cast<uint64_t>(c - '0'), 2147483649ull);
    return TState::Decimal;
  }
  TState AddHex(char c) {
    if (HexDigit(c) < 0 || ++hexDigits_ > 8) return TState::Bad;
    magnitude_ = magnitude_ * 16 + static_cast<uint64_t>(HexDigit(c));
    return TState::Hex;
  }
  TState Step(char c) {
    switch (state_) {
      case TState::Spaces:
        if (c == ' ') return TState::Spaces;
        if (c == '+' || c == '-') {
          negative_ = c == '-';
          return TState::Sign;
        }
        if (c == '$' || c == 'x' || c == 'X') return TState::HexStart;
        if (c == '0') return TState::Zero;
        return IsDigit(c) ? AddDecimal(c) : TState::Bad;
      case TState::Sign:
        return IsDigit(c) ? AddDecimal(c) : TState::Bad;
      case TState::Zero:
        if (c == 'x' || c == 'X') return TState::HexStart;
        return IsDigit(c) ? AddDecimal(c) : TState::Bad;
      case TState::Decimal:
        return IsDigit(c) ? AddDecimal(c) : TState::Bad;
      case TState::HexStart:
      case TState::Hex:
        return AddHex(c);
      default:
        return TState::Bad;
    }
  }

  TState state_ = TState::Spaces;
  bool negative_ = false;
  bool truncated_ = false;
  int hexDigits_ = 0;
  uint64_t magnitude_ = 0;
  std::string quoted_;
};

template <class Source>
int32_t ReadCoordinate(Source& in, bool crEnds) {
  TCoordinateReader reader;
  ReadLine(in, crEnds, [&](char c) { reader.Feed(c); });
  int32_t value = 0;
  if (!reader.Finish(value))
    throw UserError("'" + reader.Quoted() + "' is not a valid integer value");
  return value;
}

// The header's word, as its bytes arrive: blanks (spaces, tabs) around it are not part of it,
// other editors leave them there.
class THeaderReader {
 public:
  void Feed(char c) {
    if (c == ' ' || c == '\t') {
      ended_ = !word_.empty();
    } else if (ended_ || word_.size() == 3) {
      other_ = true;
    } else {
      word_.push_back(c);
    }
  }
  TCabeceraPT Header() const {
    if (other_) return TCabeceraPT::Other;
    if (word_ == "NUB") return TCabeceraPT::Nub;
    if (word_ == "POL") return TCabeceraPT::Pol;
    return TCabeceraPT::Other;
  }

 private:
  std::string word_;
  bool ended_ = false;
  bool other_ = false;
};

// The data runs while input is left; Ctrl+Z before an x line also ends it. A y line is read
// whatever follows, so a missing one reads as an empty line. A UTF-8 byte-order mark before the
// header is no part of it.
template <class Source>
TArchivoPT Parse(Source& in) {
  const bool crEnds = CrEndsLines(in.Ahead());
  if (in.Ahead().starts_with(kByteOrderMark))
    for (std::size_t i = 0; i < kByteOrderMark.size(); ++i) in.Get();
  THeaderReader header;
  ReadLine(in, crEnds, [&](char c) { header.Feed(c); });
  TArchivoPT result;
  result.Header = header.Header();
  while (in.Peek() != kEnd && in.Peek() != kCtrlZ) {
    TPoint p;
    p.X = ReadCoordinate(in, crEnds);
    p.Y = ReadCoordinate(in, crEnds);
    result.Points.push_back(p);
  }
  return result;
}

struct TFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

char PrintableOrMark(char c) {
  return c >= ' ' && c <= '~' ? c : '?';
}

std::string QuotedInput(std::string_view text) {
  std::string quoted;
  for (std::size_t i = 0; i < text.size() && i < kQuotedLineLimit; ++i)
    quoted.push_back(PrintableOrMark(text[i]));
  return text.size() > kQuotedLineLimit ? quoted + "..." : quoted;
}

bool ParseCoordinate(std::string_view text, int32_t& value) {
  TCoordinateReader reader;
  for (char c : text) reader.Feed(c);
  return reader.Finish(value);
}

TArchivoPT ParsePT(std::string_view bytes) {
  TMemorySource in(bytes);
  return Parse(in);
}

TArchivoPT LoadPT(const std::string& fileName) {
  std::error_code ec;
  if (fileName.empty() || !fs::exists(fs::path(fileName), ec))
    throw UserError("File does not exist. Cannot load.");
  errno = 0;
  std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(fileName.c_str(), "rb"));
  if (!file) throw UserError(FileErrorMessage(errno != 0 ? errno : EIO));
  TFileSource in(file.get());
  return Parse(in);
}

std::string FormatPT(const TNube& points, bool polygon) {
  std::string out = polygon ? "POL\r\n" : "NUB\r\n";
  out.reserve(out.size() + points.size() * 16);
  for (const TPoint& p : points) {
    out += std::to_string(p.X);
    out += "\r\n";
    out += std::to_string(p.Y);
    out += "\r\n";
  }
  return out;
}

void SavePT(const std::string& fileName, const TNube& points, bool polygon) {
  WriteFileSafely(fileName, FormatPT(points, polygon));
}

}  // namespace qv
