#include "io/Salida.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace qv {
namespace {

namespace fs = std::filesystem;

int LastError() {
  return errno != 0 ? errno : EIO;
}

// Writes size bytes; 0 or the errno value of the failure.
int WriteBytes(int fd, const char* data, std::size_t size) {
  while (size != 0) {
    errno = 0;
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return LastError();
    data += n;
    size -= static_cast<std::size_t>(n);
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

// The temporaries a signal handler removes: a fixed table, since the handler may not allocate
// or lock. A slot is free (0), being filled (1) or holds a temporary's path (2); the handler
// reads only slots in state 2.
constexpr int kTemporarySlots = 64;
constexpr std::size_t kTemporaryPathMax = 4096;
struct TTemporarySlot {
  std::atomic<int> State{0};
  char Path[kTemporaryPathMax];
};
TTemporarySlot temporarySlots[kTemporarySlots];
static_assert(std::atomic<int>::is_always_lock_free);

// A path too long for the table, or a table full, is not registered: the temporary is still
// removed by the writer, though not on a signal.
void RegisterTemporary(const std::string& path) {
  if (path.size() >= kTemporaryPathMax) return;
  for (TTemporarySlot& slot : temporarySlots) {
    int expected = 0;
    if (!slot.State.compare_exchange_strong(expected, 1)) continue;
    std::memcpy(slot.Path, path.c_str(), path.size() + 1);
    slot.State.store(2, std::memory_order_release);
    return;
  }
}

void ForgetTemporary(const std::string& path) {
  for (TTemporarySlot& slot : temporarySlots) {
    if (slot.State.load(std::memory_order_acquire) == 2 && path == slot.Path) {
      slot.State.store(0, std::memory_order_release);
      return;
    }
  }
}

// Only async-signal-safe calls: unlink, then the default action through a fresh raise (the
// handler was installed with SA_RESETHAND).
extern "C" void RemoveTemporariesAndDie(int signal) {
  const int saved = errno;
  for (TTemporarySlot& slot : temporarySlots)
    if (slot.State.load(std::memory_order_acquire) == 2) ::unlink(slot.Path);
  errno = saved;
  ::raise(signal);
}

// How one output reaches its destination.
struct TStaged {
  const TOutputFile* Output = nullptr;
  bool ToStream = false;  // standard output
  bool InPlace = false;   // no regular file, or no temporary possible: written where it is
  bool Truncate = false;  // in place, yet a regular file all the same
  std::string Target;     // the regular file the temporary replaces
  bool TargetExists = false;
  mode_t TargetMode = 0;
  std::string Temporary;  // complete new content awaiting its rename; empty when none
  int Descriptor = -1;    // an in-place target, open for writing
};

[[noreturn]] void Fail(const std::string& name, int error) {
  throw TFileError(name, WriteErrorMessage(error));
}

// An existing file is written only by a user who may write it (the superuser may write any,
// as with cp).
void CheckWritable(const std::string& name, const std::string& path) {
  errno = 0;
  if (::access(path.c_str(), W_OK) == 0) return;
  if (errno == EACCES || errno == EPERM) throw TFileError(name, kPermissionDenied);
  Fail(name, LastError());
}

// True when the folder of path takes a new file (the temporary); fails for a folder that is
// missing or no folder.
bool FolderTakesNewFile(const std::string& name, const std::string& path) {
  fs::path folder = fs::path(path).parent_path();
  if (folder.empty()) folder = ".";
  struct stat st {};
  errno = 0;
  if (::stat(folder.c_str(), &st) != 0) Fail(name, LastError());
  if (!S_ISDIR(st.st_mode)) Fail(name, ENOTDIR);
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

// A name that leads to a regular file through links is replaced where the links end; one that
// leads to anything else, or to a file whose folder takes no temporary, is written in place.
// Nothing is created or opened.
void Classify(TStaged& s, bool hasStream) {
  const std::string& name = s.Output->Name;
  if (name == kStandardOutputName && hasStream) {
    s.ToStream = true;
    return;
  }
  if (name.empty()) Fail(name, EINVAL);
  const std::string resolved = FollowLinks(name);
  struct stat node {};
  errno = 0;
  if (::stat(name.c_str(), &node) != 0) {  // a new file, perhaps at the end of a link
    if (errno != ENOENT) Fail(name, LastError());
    s.Target = resolved;
    if (!FolderTakesNewFile(name, resolved)) Fail(name, EACCES);
    return;
  }
  if (S_ISDIR(node.st_mode)) Fail(name, EISDIR);
  struct stat there {};
  if (!S_ISREG(node.st_mode) || ::stat(resolved.c_str(), &there) != 0 || !SameNode(node, there)) {
    // A device, a pipe, a terminal, or a link no path leads back to (such as a descriptor
    // of the running process).
    CheckWritable(name, name);
    s.InPlace = true;
    s.Truncate = S_ISREG(node.st_mode);
    return;
  }
  CheckWritable(name, resolved);
  s.Target = resolved;
  s.TargetExists = true;
  s.TargetMode = node.st_mode & 07777;
  s.InPlace = s.Truncate = !FolderTakesNewFile(name, resolved);
}

// All outputs of one call. Whatever is not committed when it ends (temporaries, open targets)
// is removed or closed, so a failure anywhere leaves no trace among the regular files.
class TOutputBatch {
 public:
  TOutputBatch(const std::vector<TOutputFile>& outputs, std::ostream* standardOutput)
      : stream_(standardOutput) {
    staged_.resize(outputs.size());
    for (std::size_t i = 0; i < outputs.size(); ++i) {
      staged_[i].Output = &outputs[i];
      // A temporary made by the caller belongs to the batch from here on, also when it fails.
      staged_[i].Temporary = outputs[i].Temporary;
    }
  }
  ~TOutputBatch() {
    for (TStaged& s : staged_) {
      if (!s.Temporary.empty()) RemoveTemporary(s.Temporary);
      if (s.Descriptor >= 0) ::close(s.Descriptor);
    }
  }
  TOutputBatch(const TOutputBatch&) = delete;
  TOutputBatch& operator=(const TOutputBatch&) = delete;

  // Every temporary complete, every in-place target open; then the in-place writes, then the
  // renames.
  void Commit() {
    for (TStaged& s : staged_) Classify(s, stream_ != nullptr);
    for (TStaged& s : staged_) {
      if (!s.InPlace && !s.ToStream) WriteTemporary(s);
      if (s.InPlace) Open(s);
    }
    for (TStaged& s : staged_) {
      if (s.ToStream) WriteStream(s);
      if (s.InPlace) WriteInPlace(s);
    }
    for (TStaged& s : staged_) {
      if (s.Temporary.empty()) continue;
      const int error = CommitTemporary(s.Temporary, s.Target);
      s.Temporary.clear();
      if (error != 0) Fail(s.Output->Name, error);
    }
  }

 private:
  static void Open(TStaged& s) {
    if (!s.Temporary.empty()) Fail(s.Output->Name, EINVAL);  // made for a file it cannot replace
    errno = 0;
    s.Descriptor = ::open(s.Output->Name.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (s.Descriptor < 0) Fail(s.Output->Name, LastError());
  }

  // A new temporary beside the target holding the whole content on the disk, with the
  // permissions the old file had. Where the folder refuses a new file after all (an access
  // rule the permission bits do not show), a writable file is written in place instead.
  static void WriteTemporary(TStaged& s) {
    const std::string& name = s.Output->Name;
    int fd = -1;
    if (s.Temporary.empty()) {
      fd = CreateTemporary(s.Target, s.Temporary);
      const int error = fd < 0 ? LastError() : 0;
      if (s.TargetExists && (error == EACCES || error == EPERM)) {
        s.InPlace = s.Truncate = true;
        return;
      }
      if (fd < 0) Fail(name, error);
    } else {
      errno = 0;
      fd = ::open(s.Temporary.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
      if (fd < 0) Fail(name, LastError());
    }
    int error = WriteAll(fd, s.Output->Content);
    if (error == 0 && s.TargetExists && ::fchmod(fd, s.TargetMode) != 0) error = LastError();
    if (error == 0 && ::fsync(fd) != 0) error = LastError();
    errno = 0;
    if (::close(fd) != 0 && error == 0) error = LastError();
    if (error != 0) Fail(name, error);
  }

  // A regular file written in place is emptied only now, when every other output is ready.
  static void WriteInPlace(TStaged& s) {
    errno = 0;
    int error = s.Truncate && ::ftruncate(s.Descriptor, 0) != 0 ? LastError() : 0;
    if (error == 0) error = WriteAll(s.Descriptor, s.Output->Content);
    errno = 0;
    const int closed = ::close(s.Descriptor);
    s.Descriptor = -1;
    if (error != 0) Fail(s.Output->Name, error);
    if (closed != 0 && errno != EINTR) Fail(s.Output->Name, LastError());
  }

  void WriteStream(const TStaged& s) const {
    *stream_ << s.Output->Content << std::flush;
    if (!*stream_) Fail(s.Output->Name, StreamError(*stream_));
  }

  std::ostream* stream_;
  std::vector<TStaged> staged_;
};

}  // namespace

std::string FollowLinks(const std::string& name) {
  constexpr int kMaxLinks = 40;  // as the kernel's limit for one path
  fs::path path = name;
  for (int links = 0; links <= kMaxLinks; ++links) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path.string();
    std::error_code ec;
    const fs::path to = fs::read_symlink(path, ec);
    if (ec) Fail(name, ec.value());
    path = to.is_absolute() ? to : path.parent_path() / to;
  }
  Fail(name, ELOOP);
}

bool SameOutputFile(const std::string& a, const std::string& b) {
  if (a == kStandardOutputName || b == kStandardOutputName) return a == b;
  struct stat sa {
  }, sb{};
  const bool hasA = ::stat(a.c_str(), &sa) == 0, hasB = ::stat(b.c_str(), &sb) == 0;
  if (hasA || hasB) return hasA && hasB && SameNode(sa, sb);
  try {
    std::error_code ea, eb;
    const fs::path pa = fs::weakly_canonical(fs::absolute(FollowLinks(a)), ea).lexically_normal();
    const fs::path pb = fs::weakly_canonical(fs::absolute(FollowLinks(b)), eb).lexically_normal();
    return !ea && !eb ? pa == pb : a == b;
  } catch (const TFileError&) {  // a loop of links: the write names it
    return a == b;
  }
}

void CheckOutputFile(const std::string& name) {
  const TOutputFile output{name, {}, {}};
  TStaged s;
  s.Output = &output;
  Classify(s, true);
}

std::string ReplacedFile(const std::string& name) {
  const TOutputFile output{name, {}, {}};
  TStaged s;
  s.Output = &output;
  Classify(s, true);
  return s.InPlace || s.ToStream ? std::string() : s.Target;
}

int CreateTemporary(const std::string& target, std::string& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = TemporaryName(target);
    errno = 0;
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      RegisterTemporary(name);
      temporary = name;
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;  // errno is EEXIST
}

int WriteAll(int descriptor, const std::string& content) {
  return WriteBytes(descriptor, content.data(), content.size());
}

int CommitTemporary(const std::string& temporary, const std::string& target) {
  errno = 0;
  const int error = std::rename(temporary.c_str(), target.c_str()) != 0 ? LastError() : 0;
  if (error != 0) ::unlink(temporary.c_str());
  ForgetTemporary(temporary);
  return error;
}

void RemoveTemporary(const std::string& temporary) {
  ::unlink(temporary.c_str());
  ForgetTemporary(temporary);
}

void RemoveTemporariesOnSignal() {
  for (int signal : {SIGINT, SIGTERM}) {
    struct sigaction old {};
    if (::sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = RemoveTemporariesAndDie;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    ::sigaction(signal, &action, nullptr);
  }
}

TDescriptorBuffer::int_type TDescriptorBuffer::overflow(int_type c) {
  if (!Drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

// Everything buffered, written; after a failure every later write fails too, so that the
// stream stays failed and the first cause is kept.
bool TDescriptorBuffer::Drain() {
  const std::size_t pending = static_cast<std::size_t>(pptr() - pbase());
  if (error_ == 0 && pending > 0) error_ = WriteBytes(descriptor_, pbase(), pending);
  setp(buffer_, buffer_ + sizeof buffer_);
  return error_ == 0;
}

int StreamError(const std::ostream& stream) {
  const auto* buffer = dynamic_cast<const TDescriptorBuffer*>(stream.rdbuf());
  return buffer != nullptr && buffer->Error() != 0 ? buffer->Error() : EIO;
}

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
  // The rules of every other output: refused before any work where it could not be written,
  // a temporary beside the file it replaces (removed on SIGINT and SIGTERM), else in place.
  CheckOutputFile(name_);
  target_ = ReplacedFile(name_);
  if (target_.empty()) {
    // A device, a pipe, a terminal, or a file whose folder takes no new file.
    errno = 0;
    descriptor_ = ::open(name_.c_str(), O_WRONLY | O_CREAT | O_NOCTTY | O_CLOEXEC, 0666);
    if (descriptor_ < 0) Fail(LastError());
    struct stat node {};
    if (::fstat(descriptor_, &node) == 0 && S_ISREG(node.st_mode) &&
        ::ftruncate(descriptor_, 0) != 0)
      Fail(LastError());
    return;
  }
  struct stat node {};
  targetExists_ = ::stat(target_.c_str(), &node) == 0;
  targetMode_ = node.st_mode & 07777;
  errno = 0;
  descriptor_ = CreateTemporary(target_, temporary_);
  if (descriptor_ < 0) Fail(LastError());
}

TStreamedOutput::~TStreamedOutput() {
  if (descriptor_ >= 0) ::close(descriptor_);
  if (!temporary_.empty()) RemoveTemporary(temporary_);
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
  const int error = CommitTemporary(temporary_, target_);
  temporary_.clear();
  if (error != 0) Fail(error);
}

}  // namespace qv
