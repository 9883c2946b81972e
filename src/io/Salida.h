// Output files written whole or not at all: the one writer behind every saved point set, image
// and command-line output.
//
// A regular file (or a new one) is written to a temporary beside it and renamed over it, so a
// failure leaves the old content; a link is followed, so the link stays and its target is
// replaced (a dangling link gets the target it names). A target that is no regular file (a
// terminal, a pipe, a device) is written in place: renaming over it would replace the node
// itself; so is a writable file in a folder that takes no new file. A file the user may not
// write is refused, as cp refuses it. Several outputs are written together: all temporaries
// first, and only when every one of them is complete are they renamed.
#pragma once

#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "geometry/UserError.h"

namespace qv {

// A failed write. The text is the runtime's message ("Disk full", "File access denied", ...),
// which the window shows; FileName tells which output failed.
class TFileError : public UserError {
 public:
  TFileError(std::string fileName, const std::string& message)
      : UserError(message), fileName_(std::move(fileName)) {}
  const std::string& FileName() const { return fileName_; }

 private:
  std::string fileName_;
};

// The runtime's text for a failed file operation with the given errno value.
std::string FileErrorMessage(int error);
// The same for writing, where a missing path component means a missing folder.
std::string WriteErrorMessage(int error);

// The name that stands for standard output among the outputs of WriteFilesSafely.
inline constexpr const char* kStandardOutputName = "-";

struct TOutputFile {
  std::string Name;
  std::string Content;
  // When not empty: the content is already in this complete, closed temporary (made by
  // CreateTemporary for the file ReplacedFile(Name) names), which is renamed instead.
  std::string Temporary = {};
};

// The message of a refused write to an existing file the user may not write.
inline constexpr const char* kPermissionDenied = "permission denied";

// Where an output name leads: the links of its last part followed to the name they end at,
// which need not exist yet (a dangling link leads to the file it will create). Throws
// TFileError for a loop of links.
std::string FollowLinks(const std::string& name);

// True when two output names lead to one file: the same device and inode where it exists,
// otherwise the same path once links, "." and ".." are resolved. "-" is only itself.
bool SameOutputFile(const std::string& a, const std::string& b);

// Refuses, before any work, an output WriteFilesSafely could not write now: a missing folder,
// a folder as the output, a file the user may not write, a new file in a folder that takes
// none. Throws TFileError as the write would. "-" passes.
void CheckOutputFile(const std::string& name);

// The regular file a temporary for the output would replace, or "" when the output is written
// in place (standard output, a device, a pipe, a file whose folder takes no new file). Throws
// TFileError as CheckOutputFile.
std::string ReplacedFile(const std::string& name);

// The steps of the writer, for an output made piece by piece.
// A new empty temporary beside target, under a name no file had, registered for removal on
// SIGINT and SIGTERM (see RemoveTemporariesOnSignal). Returns its descriptor and sets
// temporary, or -1 with errno set.
int CreateTemporary(const std::string& target, std::string& temporary);
// Writes all of content to the descriptor; 0 or the errno value of the failure.
int WriteAll(int descriptor, const std::string& content);
// Renames a complete temporary over target; 0 or the errno value of the failure. Either way the
// temporary is no longer registered (on failure it is removed).
int CommitTemporary(const std::string& temporary, const std::string& target);
// Removes a temporary that will not be committed, and forgets it.
void RemoveTemporary(const std::string& temporary);
// Makes SIGINT and SIGTERM remove every registered temporary, then end the process as the
// signal would have. For a program's main; a signal the process ignores stays ignored.
void RemoveTemporariesOnSignal();

// A stream buffer over a file descriptor (a program's standard output) that keeps the errno
// value of its first failed write, so that a lost output is reported with its real cause.
class TDescriptorBuffer : public std::streambuf {
 public:
  explicit TDescriptorBuffer(int descriptor) : descriptor_(descriptor) {
    setp(buffer_, buffer_ + sizeof buffer_);
  }
  ~TDescriptorBuffer() override { Drain(); }
  TDescriptorBuffer(const TDescriptorBuffer&) = delete;
  TDescriptorBuffer& operator=(const TDescriptorBuffer&) = delete;
  int Error() const { return error_; }

 protected:
  int_type overflow(int_type c) override;
  int sync() override { return Drain() ? 0 : -1; }

 private:
  bool Drain();
  int descriptor_;
  int error_ = 0;
  char buffer_[1 << 14];
};

// The errno value behind a failed stream: its TDescriptorBuffer's, otherwise EIO.
int StreamError(const std::ostream& stream);

// Writes every output by the rules above. An output named "-" goes to standardOutput when one is
// given. Throws TFileError for the first output that fails; then no temporary is left and no
// regular file has changed (a pipe or device written before the failure keeps what it received).
void WriteFilesSafely(const std::vector<TOutputFile>& outputs,
                      std::ostream* standardOutput = nullptr);
// One output.
void WriteFileSafely(const std::string& fileName, const std::string& content);

}  // namespace qv

namespace qv {

// An output too large to hold, written while it is made. A regular file (or a new one, or one at
// the end of links) is written to a temporary beside it and renamed over it by Commit, so the old
// content stays until the new one is whole; "-" goes to standardOutput as it comes; a target that
// is no regular file (a pipe, a device) is written in place. Destroyed without Commit, the
// temporary is removed. Text is passed on in blocks, at the latest a fraction of a second after it
// was given.
class TStreamedOutput {
 public:
  // Opens the temporary (or the target written in place) at once: a name that cannot be written
  // fails here, before any work. Throws TFileError.
  explicit TStreamedOutput(std::string fileName, std::ostream* standardOutput = nullptr);
  ~TStreamedOutput();
  TStreamedOutput(const TStreamedOutput&) = delete;
  TStreamedOutput& operator=(const TStreamedOutput&) = delete;

  // Throws TFileError.
  void Write(std::string_view text);
  // Everything written and on the disk; the temporary still awaits Commit. Throws TFileError.
  void Finish();
  // Finishes when needed and renames the temporary over the target. Throws TFileError.
  void Commit();

 private:
  void Flush();
  [[noreturn]] void Fail(int error) const;

  std::string name_;
  std::ostream* stream_ = nullptr;  // standard output
  std::string target_;              // the file the temporary replaces; empty when in place
  std::string temporary_;           // empty once renamed or removed
  bool targetExists_ = false;
  unsigned targetMode_ = 0;
  int descriptor_ = -1;
  bool finished_ = false;
  std::string buffer_;
  long long lastFlush_ = 0;  // steady clock ticks
};

}  // namespace qv
