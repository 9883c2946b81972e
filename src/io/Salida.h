// Output files written whole or not at all: the one writer behind every saved point set, image
// and command-line output.
//
// A regular file (or a new one) is written to a temporary beside it and renamed over it, so a
// failure leaves the old content; a link is followed, so the link stays and its target is
// replaced. A target that is no regular file (a terminal, a pipe, a device) is written in place:
// renaming over it would replace the node itself. Several outputs are written together: all
// temporaries first, and only when every one of them is complete are they renamed.
#pragma once

#include <ostream>
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
};

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
