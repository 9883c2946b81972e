#include "io/Salida.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <system_error>

namespace qv {
namespace {

namespace fs = std::filesystem;

int LastError() {
  return errno != 0 ? errno : EIO;
}

// Writes all of content; 0 or the errno of the failure.
int WriteAll(int fd, const std::string& content) {
  std::size_t done = 0;
  while (done < content.size()) {
    errno = 0;
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return LastError();
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

bool SameNode(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::string TemporaryName(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  const unsigned long long tag = static_cast<unsigned long long>(ticks) * 31u + counter++;
  return target + ".tmp" + std::to_string(tag % 1000000007ull);
}

// How one output reaches its destination.
struct TStaged {
  const TOutputFile* Output = nullptr;
  bool ToStream = false;  // standard output
  bool InPlace = false;   // no regular file: written where it is
  bool Truncate = false;  // in place, yet a regular file all the same
  std::string Target;     // the regular file the temporary replaces
  bool TargetExists = false;
  mode_t TargetMode = 0;
  std::string Temporary;  // complete new content awaiting its rename; empty when none
  int Descriptor = -1;    // an in-place target, open for writing
};

// All outputs of one call. Whatever is not committed when it ends (temporaries, open targets)
// is removed or closed, so a failure anywhere leaves no trace among the regular files.
class TOutputBatch {
 public:
  TOutputBatch(const std::vector<TOutputFile>& outputs, std::ostream* standardOutput)
      : stream_(standardOutput) {
    staged_.resize(outputs.size());
    for (std::size_t i = 0; i < outputs.size(); ++i) {
      staged_[i].Output = &outputs[i];
      Classify(staged_[i]);
    }
  }
  ~TOutputBatch() {
    for (TStaged& s : staged_) {
      if (!s.Temporary.empty()) ::unlink(s.Temporary.c_str());
      if (s.Descriptor >= 0) ::close(s.Descriptor);
    }
  }
  TOutputBatch(const TOutputBatch&) = delete;
  TOutputBatch& operator=(const TOutputBatch&) = delete;

  // Every temporary complete, every in-place target open; then the in-place writes, then the
  // renames.
  void Commit() {
    for (TStaged& s : staged_) {
      if (s.InPlace) Open(s);
      if (!s.InPlace && !s.ToStream) WriteTemporary(s);
    }
    for (TStaged& s : staged_) {
      if (s.ToStream) WriteStream(s);
      if (s.InPlace) WriteInPlace(s);
    }
    for (TStaged& s : staged_) {
      if (s.Temporary.empty()) continue;
      errno = 0;
      if (std::rename(s.Temporary.c_str(), s.Target.c_str()) != 0) Fail(s, LastError());
      s.Temporary.clear();
    }
  }

 private:
  [[noreturn]] static void Fail(const TStaged& s, int error) {
    throw TFileError(s.Output->Name, WriteErrorMessage(error));
  }

  // A name that leads to a regular file through links is replaced where the links end; one
  // that leads to anything else is written in place.
  void Classify(TStaged& s) const {
    const std::string& name = s.Output->Name;
    if (name == kStandardOutputName && stream_ != nullptr) {
      s.ToStream = true;
      return;
    }
    if (name.empty()) Fail(s, EINVAL);
    struct stat link {};
    const bool isLink = ::lstat(name.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
    std::error_code ec;
    const std::string resolved = isLink ? fs::weakly_canonical(name, ec).string() : name;
    struct stat node {};
    if (::stat(name.c_str(), &node) != 0) {  // a new file, perhaps at the end of a link
      if (ec) Fail(s, ec.value());
      s.Target = resolved;
      return;
    }
    if (S_ISDIR(node.st_mode)) Fail(s, EISDIR);
    struct stat there {};
    if (!S_ISREG(node.st_mode) || ec || ::stat(resolved.c_str(), &there) != 0 ||
        !SameNode(node, there)) {
      // A device, a pipe, a terminal, or a link no path leads back to (such as a descriptor
      // of the running process).
      s.InPlace = true;
      s.Truncate = S_ISREG(node.st_mode);
      return;
    }
    s.Target = resolved;
    s.TargetExists = true;
    s.TargetMode = node.st_mode & 07777;
  }

  static void Open(TStaged& s) {
    errno = 0;
    const int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC | (s.Truncate ? O_TRUNC : 0);
    s.Descriptor = ::open(s.Output->Name.c_str(), flags);
    if (s.Descriptor < 0) Fail(s, LastError());
  }

  // A new temporary beside the target, never reusing an existing name, holding the whole
  // content on the disk, with the permissions the old file had.
  static void WriteTemporary(TStaged& s) {
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
      const std::string name = TemporaryName(s.Target);
      errno = 0;
      fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd >= 0) s.Temporary = name;
      if (fd < 0 && errno != EEXIST) Fail(s, LastError());
    }
    if (fd < 0) Fail(s, EEXIST);
    int error = WriteAll(fd, s.Output->Content);
    if (error == 0 && s.TargetExists && ::fchmod(fd, s.TargetMode) != 0) error = LastError();
    if (error == 0 && ::fsync(fd) != 0) error = LastError();
    errno = 0;
    if (::close(fd) != 0 && error == 0) error = LastError();
    if (error != 0) Fail(s, error);
  }

  static void WriteInPlace(TStaged& s) {
    const int error = WriteAll(s.Descriptor, s.Output->Content);
    errno = 0;
    const int closed = ::close(s.Descriptor);
    s.Descriptor = -1;
    if (error != 0) Fail(s, error);
    if (closed != 0 && errno != EINTR) Fail(s, LastError());
  }

  void WriteStream(const TStaged& s) const {
    *stream_ << s.Output->Content << std::flush;
    if (!*stream_) Fail(s, EIO);
  }

  std::ostream* stream_;
  std::vector<TStaged> staged_;
};

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

std::string WriteErrorMessage(int error) {
  return error == ENOENT ? "Folder not found" : FileErrorMessage(error);
}

void WriteFilesSafely(const std::vector<TOutputFile>& outputs, std::ostream* standardOutput) {
  TOutputBatch batch(outputs, standardOutput);
  batch.Commit();
}

void WriteFileSafely(const std::string& fileName, const std::string& content) {
  WriteFilesSafely({TOutputFile{fileName, content}});
}

}  // namespace qv

namespace qv {

namespace {

long long Ticks() {
  return std::chrono::steady_clock::now().time_since_epoch().count();
}

}  // namespace

TStreamedOutput::TStreamedOutput(std::string fileName, std::ostream* standardOutput)
    : name_(std::move(fileName)), lastFlush_(Ticks()) {
  if (name_ == kStandardOutputName && standardOutput != nullptr) {
    stream_ = standardOutput;
    return;
  }
  if (name_.empty()) Fail(EINVAL);
  struct stat link {};
  const bool isLink = ::lstat(name_.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
  std::error_code ec;
  const std::string resolved = isLink ? fs::weakly_canonical(name_, ec).string() : name_;
  struct stat node {};
  const bool exists = ::stat(name_.c_str(), &node) == 0;
  if (exists && S_ISDIR(node.st_mode)) Fail(EISDIR);
  struct stat there {};
  if (ec) Fail(ec.value());
  if (exists &&
      (!S_ISREG(node.st_mode) || ::stat(resolved.c_str(), &there) != 0 || !SameNode(node, there))) {
    // A device, a pipe, a terminal: written where it is.
    errno = 0;
    const int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC | (S_ISREG(node.st_mode) ? O_TRUNC : 0);
    descriptor_ = ::open(name_.c_str(), flags);
    if (descriptor_ < 0) Fail(LastError());
    return;
  }
  target_ = resolved;
  targetExists_ = exists;
  targetMode_ = node.st_mode & 07777;
  for (int attempt = 0; attempt < 100 && descriptor_ < 0; ++attempt) {
    const std::string name = TemporaryName(target_);
    errno = 0;
    descriptor_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor_ >= 0) temporary_ = name;
    if (descriptor_ < 0 && errno != EEXIST) Fail(LastError());
  }
  if (descriptor_ < 0) Fail(EEXIST);
}

TStreamedOutput::~TStreamedOutput() {
  if (descriptor_ >= 0) ::close(descriptor_);
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

void TStreamedOutput::Fail(int error) const {
  throw TFileError(name_, WriteErrorMessage(error));
}

void TStreamedOutput::Write(std::string_view text) {
  buffer_.append(text);
  constexpr size_t kBlock = size_t{1} << 20;
  constexpr long long kLatency =
      std::chrono::steady_clock::duration(std::chrono::milliseconds(250)).count();
  if (buffer_.size() >= kBlock || Ticks() - lastFlush_ >= kLatency) Flush();
}

void TStreamedOutput::Flush() {
  lastFlush_ = Ticks();
  if (buffer_.empty()) return;
  if (stream_ != nullptr) {
    *stream_ << buffer_ << std::flush;
    if (!*stream_) Fail(EIO);
  } else if (const int error = WriteAll(descriptor_, buffer_); error != 0) {
    Fail(error);
  }
  buffer_.clear();
}

void TStreamedOutput::Finish() {
  if (finished_) return;
  Flush();
  finished_ = true;
  if (stream_ != nullptr) return;
  int error = 0;
  if (!temporary_.empty() && targetExists_ && ::fchmod(descriptor_, targetMode_) != 0)
    error = LastError();
  if (error == 0 && !temporary_.empty() && ::fsync(descriptor_) != 0) error = LastError();
  errno = 0;
  const int closed = ::close(descriptor_);
  descriptor_ = -1;
  if (error == 0 && closed != 0 && errno != EINTR) error = LastError();
  if (error != 0) Fail(error);
}

void TStreamedOutput::Commit() {
  Finish();
  if (temporary_.empty()) return;
  errno = 0;
  if (std::rename(temporary_.c_str(), target_.c_str()) != 0) Fail(LastError());
  temporary_.clear();
}

}  // namespace qv
