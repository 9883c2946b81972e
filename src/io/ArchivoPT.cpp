#include "io/ArchivoPT.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "geometry/UserError.h"

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#define QV_HAVE_FSYNC 1
#endif

namespace qv {
namespace {

namespace fs = std::filesystem;

constexpr int kEnd = -1;
constexpr int kCtrlZ = 26;

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

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

// Reads the file in fixed blocks; a read error stops with the runtime's message.
class TFileSource {
 public:
  explicit TFileSource(std::FILE* file) : file_(file), buffer_(1 << 16) {}
  int Peek() {
    if (pos_ == length_ && !Fill()) return kEnd;
    return buffer_[pos_];
  }
  int Get() {
    int c = Peek();
    if (c != kEnd) ++pos_;
    return c;
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

// Feeds the text of one line to sink, byte by byte: the line ends at LF or CR LF (not part of
// the text) or at the end of the input; a CR not followed by LF is dropped.
template <class Source, class Sink>
void ReadLine(Source& in, Sink&& sink) {
  for (;;) {
    int c = in.Get();
    if (c == kEnd || c == '\n') return;
    if (c == '\r') {
      if (in.Peek() == '\n') {
        in.Get();
        return;
      }
      continue;
    }
    sink(static_cast<char>(c));
  }
}

// Recognises one coordinate as its bytes arrive, in constant memory whatever the length.
class TCoordinateReader {
 public:
  void Feed(char c) {
    // A NUL cannot travel in a message text; it is quoted as '?'.
    if (quoted_.size() < kQuotedLineLimit)
      quoted_.push_back(c == '\0' ? '?' : c);
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
int32_t ReadCoordinate(Source& in) {
  TCoordinateReader reader;
  ReadLine(in, [&](char c) { reader.Feed(c); });
  int32_t value = 0;
  if (!reader.Finish(value))
    throw UserError("'" + reader.Quoted() + "' is not a valid integer value");
  return value;
}

template <class Source>
TCabeceraPT ReadHeader(Source& in) {
  std::string head;
  std::size_t length = 0;
  ReadLine(in, [&](char c) {
    if (++length <= 3) head.push_back(c);
  });
  if (length != 3) return TCabeceraPT::Other;
  if (head == "NUB") return TCabeceraPT::Nub;
  if (head == "POL") return TCabeceraPT::Pol;
  return TCabeceraPT::Other;
}

// The data runs while input is left; Ctrl+Z before an x line also ends it. A y line is read
// whatever follows, so a missing one reads as an empty line.
template <class Source>
TArchivoPT Parse(Source& in) {
  TArchivoPT result;
  result.Header = ReadHeader(in);
  while (in.Peek() != kEnd && in.Peek() != kCtrlZ) {
    TPoint p;
    p.X = ReadCoordinate(in);
    p.Y = ReadCoordinate(in);
    result.Points.push_back(p);
  }
  return result;
}

// ---- Safe save ---------------------------------------------------------------------------

struct TFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// A link is followed so that the link itself stays in place.
fs::path SaveTarget(const std::string& fileName) {
  fs::path target(fileName);
  std::error_code ec;
  if (fs::is_symlink(fs::symlink_status(target, ec))) {
    fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) return resolved;
  }
  return target;
}

std::string TemporaryName(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  unsigned long long tag = static_cast<unsigned long long>(ticks) * 31u + counter++;
  fs::path name = target;
  name += ".tmp" + std::to_string(tag % 1000000007ull);
  return name.string();
}

// Creates a new temporary next to target, never reusing an existing name.
std::FILE* CreateTemporary(const fs::path& target, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = TemporaryName(target);
    errno = 0;
    if (std::FILE* f = std::fopen(name.c_str(), "wbx")) return f;
    if (errno != EEXIST) throw UserError(FileErrorMessage(errno));
  }
  throw UserError(FileErrorMessage(EEXIST));
}

// Writes the whole content and flushes it to the disk; the errno of the first failure or 0.
int WriteAll(std::FILE* f, const std::string& content) {
  errno = 0;
  if (std::fwrite(content.data(), 1, content.size(), f) != content.size())
    return errno != 0 ? errno : EIO;
  if (std::fflush(f) != 0) return errno != 0 ? errno : EIO;
#ifdef QV_HAVE_FSYNC
  if (fsync(fileno(f)) != 0) return errno;
#endif
  return 0;
}

}  // namespace

std::string FileErrorMessage(int error) {
  switch (error) {
    case ENOENT:
      return "File not found";
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
      return "Invalid filename";
    case EMFILE:
    case ENFILE:
      return "Too many open files";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
      return "File access denied";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return "Disk full";
    default:
      return "I/O error " + std::to_string(error);
  }
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

void WriteFileSafely(const std::string& fileName, const std::string& content) {
  if (fileName.empty()) throw UserError(FileErrorMessage(EINVAL));
  const fs::path target = SaveTarget(fileName);
  std::string temporary;
  std::FILE* f = CreateTemporary(target, temporary);
  int error = WriteAll(f, content);
  errno = 0;
  if (std::fclose(f) != 0 && error == 0) error = errno != 0 ? errno : EIO;
  std::error_code ec;
  if (error == 0 && fs::exists(target, ec))  // keep the permissions the old file had
    fs::permissions(temporary, fs::status(target, ec).permissions(), ec);
  errno = 0;
  if (error == 0 && std::rename(temporary.c_str(), target.c_str()) != 0)
    error = errno != 0 ? errno : EIO;
  if (error != 0) {
    std::remove(temporary.c_str());
    throw UserError(FileErrorMessage(error));
  }
}

}  // namespace qv
