// Command-line options of quilvaron-cli and their parsing.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv::cli {

// Bad usage: the text says what is wrong; the tool adds the usage text and exits with 1.
class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

struct TCliOptions {
  std::string Method = "sweep";
  int Angle = 0;
  std::string File;      // the ".pt" file, empty with --random
  int RandomCount = 0;   // points to generate; 0 without --random
  bool Uniform = false;  // --uniform, otherwise normal
  int Deviation = 100;
  uint32_t Seed = 1;
  int CanvasWidth = 1014;
  int CanvasHeight = 653;
  std::string Triangulation = "fan";
  bool Pockets = false;
  std::string JsonFile;  // "-" for standard output
  std::string ImageFile;
  std::string OutFile;    // "-" for standard output
  std::string StepsFile;  // --steps FILE ("-" for standard output)
  bool Check = false;
  bool Fit = false;           // --fit: the image shows every point, fitted to the canvas
  bool Count = false;         // --count
  std::string EnumerateFile;  // --enumerate FILE ("-" for standard output)
  int Flips = 0;              // --flips K
  int Threads = 1;            // --threads N, for --count and --enumerate
  int Shard = 1, Shards = 1;  // --shard K/N: the K-th (from 1) of N parts of a count
  bool Help = false;
  // The options named on the command line, in their order (a method refuses those it ignores).
  std::vector<std::string> Given;
  bool WasGiven(const std::string& option) const;
};

// Parses the arguments after the program name. Throws UsageError.
TCliOptions ParseArguments(const std::vector<std::string>& args);

// The usage text, ending with a newline.
std::string UsageText();

}  // namespace qv::cli
