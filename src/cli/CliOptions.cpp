#include "cli/CliOptions.h"

#include "cli/CliFlips.h"
#include "cli/ImageExport.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>

#include "io/ArchivoPT.h"
#include "io/Salida.h"

namespace qv::cli {
namespace {

using TValueSetter = std::function<void(TCliOptions&, const std::string&)>;
using TFlagSetter = std::function<void(TCliOptions&)>;

// Text of the command line as a message quotes it.
std::string Quote(const std::string& text) {
  return "'" + QuotedInput(text) + "'";
}

// A file name: "-" or a name; an empty one would silently write nothing.
TValueSetter OutputName(const char* option, std::string TCliOptions::*field) {
  return [option, field](TCliOptions& o, const std::string& v) {
    if (v.empty()) throw UsageError(std::string(option) + " needs a file name");
    o.*field = v;
  };
}

// A whole decimal integer in [lo, hi], or UsageError naming the option.
long long ParseInteger(const std::string& option, const std::string& text, long long lo,
                       long long hi) {
  long long value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < lo || value > hi)
    throw UsageError(option + " needs a whole number from " + std::to_string(lo) + " to " +
                     std::to_string(hi) + ", not " + Quote(text));
  return value;
}

// K/N with 1 <= K <= N.
void ParseShard(const std::string& text, TCliOptions& o) {
  const size_t slash = text.find('/');
  if (slash == std::string::npos) throw UsageError("--shard needs K/N, not " + Quote(text));
  o.Shards = static_cast<int>(ParseInteger("--shard N", text.substr(slash + 1), 1, 1000000));
  o.Shard = static_cast<int>(ParseInteger("--shard K", text.substr(0, slash), 1, o.Shards));
}

void ParseCanvas(const std::string& text, TCliOptions& o) {
  size_t x = text.find('x');
  if (x == std::string::npos) throw UsageError("--canvas needs WIDTHxHEIGHT, not " + Quote(text));
  o.CanvasWidth = static_cast<int>(ParseInteger("--canvas width", text.substr(0, x), 1, 100000));
  o.CanvasHeight = static_cast<int>(ParseInteger("--canvas height", text.substr(x + 1), 1, 100000));
}

const std::map<std::string, TValueSetter>& ValueOptions() {
  static const std::map<std::string, TValueSetter> table = {
      {"--method", [](TCliOptions& o, const std::string& v) { o.Method = v; }},
      {"--angle",
       [](TCliOptions& o, const std::string& v) {
         o.Angle = static_cast<int>(ParseInteger("--angle", v, 0, 359));
       }},
      {"--random",
       [](TCliOptions& o, const std::string& v) {
         o.RandomCount = static_cast<int>(ParseInteger("--random", v, 1, 1000000));
       }},
      {"--normal",
       [](TCliOptions& o, const std::string& v) {
         o.Deviation = static_cast<int>(ParseInteger("--normal", v, 1, 100000));
       }},
      {"--seed",
       [](TCliOptions& o, const std::string& v) {
         o.Seed = static_cast<uint32_t>(ParseInteger("--seed", v, 0, 4294967295LL));
       }},
      {"--canvas", [](TCliOptions& o, const std::string& v) { ParseCanvas(v, o); }},
      {"--triangulation",
       [](TCliOptions& o, const std::string& v) {
         if (v != "fan" && v != "random")
           throw UsageError("--triangulation is fan or random, not " + Quote(v));
         o.Triangulation = v;
       }},
      {"--json", OutputName("--json", &TCliOptions::JsonFile)},
      {"--image", OutputName("--image", &TCliOptions::ImageFile)},
      {"--out", OutputName("--out", &TCliOptions::OutFile)},
      {"--steps", OutputName("--steps", &TCliOptions::StepsFile)},
      {"--enumerate", OutputName("--enumerate", &TCliOptions::EnumerateFile)},
      {"--threads",
       [](TCliOptions& o, const std::string& v) {
         o.Threads = static_cast<int>(ParseInteger("--threads", v, 1, 1024));
       }},
      {"--shard", [](TCliOptions& o, const std::string& v) { ParseShard(v, o); }},
      {"--flips",
       [](TCliOptions& o, const std::string& v) {
         o.Flips = static_cast<int>(ParseInteger("--flips", v, 0, 100000000));
       }},
  };
  return table;
}

const std::map<std::string, TFlagSetter>& FlagOptions() {
  static const std::map<std::string, TFlagSetter> table = {
      {"--uniform", [](TCliOptions& o) { o.Uniform = true; }},
      {"--pockets", [](TCliOptions& o) { o.Pockets = true; }},
      {"--check", [](TCliOptions& o) { o.Check = true; }},
      {"--fit", [](TCliOptions& o) { o.Fit = true; }},
      {"--count", [](TCliOptions& o) { o.Count = true; }},
      {"--help", [](TCliOptions& o) { o.Help = true; }},
      {"-h", [](TCliOptions& o) { o.Help = true; }},
  };
  return table;
}

// Outputs that would overwrite each other: two on standard output, or two names of one file
// ("a.json" and "./a.json", a link and its target), told by the file, not by the name.
void CheckOutputs(const TCliOptions& o) {
  const std::string* names[] = {&o.JsonFile, &o.OutFile, &o.ImageFile, &o.EnumerateFile,
                                &o.StepsFile};
  for (int i = 0; i < 5; ++i) {
    for (int j = i + 1; j < 5; ++j) {
      if (names[i]->empty() || names[j]->empty() || !SameOutputFile(*names[i], *names[j])) continue;
      if (*names[i] == "-") throw UsageError("only one of --json, --out and --steps can be -");
      throw UsageError("two outputs name the same file: " + Quote(*names[i]) + " and " +
                       Quote(*names[j]));
    }
  }
}

// Options that only make sense together.
void CheckCombinations(const TCliOptions& o) {
  auto was = [&o](const char* name) { return o.WasGiven(name); };
  if (o.Help) return;
  if (!o.File.empty() && o.RandomCount > 0)
    throw UsageError("give either a FILE.pt or --random N, not both");
  if (o.File.empty() && o.RandomCount == 0) throw UsageError("give a FILE.pt or --random N");
  if (o.RandomCount == 0 && (was("--uniform") || was("--normal")))
    throw UsageError("--uniform and --normal need --random N");
  if (o.RandomCount == 0 && o.ImageFile.empty() && was("--canvas"))
    throw UsageError("--canvas needs --random N or --image FILE");
  if (o.ImageFile.empty() && o.Fit) throw UsageError("--fit needs --image FILE");
  if (!o.ImageFile.empty() && !ImageTypeKnown(o.ImageFile))
    throw UsageError("--image writes .bmp, .jpg, .png, .svg, .pdf or .tikz, not " +
                     Quote(o.ImageFile));
  if (was("--uniform") && was("--normal"))
    throw UsageError("--uniform and --normal exclude each other");
  // The steps build the method's own result; flips or counts would leave them behind.
  if (!o.StepsFile.empty() && (o.Flips > 0 || o.Count || !o.EnumerateFile.empty()))
    throw UsageError(
        "--steps records the method's construction: not with --flips, --count or "
        "--enumerate");
  CheckFlipOptions(o);
  CheckOutputs(o);
}

}  // namespace

bool TCliOptions::WasGiven(const std::string& option) const {
  return std::find(Given.begin(), Given.end(), option) != Given.end();
}

TCliOptions ParseArguments(const std::vector<std::string>& args) {
  TCliOptions o;
  bool filesOnly = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i], value;
    bool inlineValue = false;
    if (!filesOnly && arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
      value = arg.substr(arg.find('=') + 1);
      arg = arg.substr(0, arg.find('='));
      inlineValue = true;
    }
    if (!filesOnly && arg == "--") {
      filesOnly = true;
    } else if (!filesOnly && ValueOptions().count(arg)) {
      if (!inlineValue && i + 1 >= args.size()) throw UsageError(arg + " needs a value");
      // A second value would silently replace the first.
      if (o.WasGiven(arg)) throw UsageError(arg + " given more than once");
      ValueOptions().at(arg)(o, inlineValue ? value : args[++i]);
      o.Given.push_back(arg);
    } else if (!filesOnly && FlagOptions().count(arg) && !inlineValue) {
      FlagOptions().at(arg)(o);
      o.Given.push_back(arg);
    } else if (!filesOnly && arg == "--version") {
      throw UsageError("--version stands alone");
    } else if (!filesOnly && arg.size() > 1 && arg[0] == '-') {
      throw UsageError("unknown option " + Quote(args[i]));
    } else if (o.File.empty()) {
      o.File = arg;
    } else {
      throw UsageError("more than one FILE.pt given");
    }
  }
  CheckCombinations(o);
  return o;
}

std::string UsageText() {
  return "usage: quilvaron-cli [--method M] [options] [FILE.pt]\n"
         "       quilvaron-cli experiment ...   (see quilvaron-cli experiment --help)\n"
         "       quilvaron-cli --version\n"
         "  M: sweep (default) | layers | sweep-triangulation | delaunay | remove-edges |\n"
         "     remove-triangles | incremental-face | incremental-vertex | shortest-paths\n"
         "  --angle DEG            sweep angle 0..359 (default 0)\n"
         "  --random N             N random points instead of FILE: --normal DEV (default 100)"
         " or\n"
         "                         --uniform; --seed S (default 1); --canvas WxH (default "
         "1014x653)\n"
         "  --triangulation fan|random   the hull/polygon triangulation a person would pick in"
         " the\n"
         "                         chooser (default fan; random uses --seed); incremental-face\n"
         "                         and shortest-paths only\n"
         "  --pockets              shortest paths: fill the pockets\n"
         "  --json FILE            write the result as JSON (\"-\" for standard output; the\n"
         "                         figures then go to standard error)\n"
         "  --image FILE           draw the result as the window would, on the --canvas size:\n"
         "                         .bmp, .jpg (baseline, quality 90), .png, .svg, .pdf or\n"
         "                         .tikz (TikZ, larger side 12 cm, for LaTeX)\n"
         "  --fit                  --image: zoom and move the drawing so that every point shows,\n"
         "                         with a margin (otherwise the canvas shows 0..WxH at 1:1)\n"
         "  --out FILE.pt          save the points as the method leaves them (sorted, nudged;\n"
         "                         \"-\" for standard output, the figures then on standard error)\n"
         "  --steps FILE           write the construction step by step as JSON: the points (as\n"
         "                         in --json) and per step the edges added and removed and a\n"
         "                         caption (\"-\" for standard output); not with --flips\n"
         "  --check                run the checker; exit status 3 when the result is not a\n"
         "                         pseudo-triangulation of its region\n"
         "  --flips K              K random flips (seeded by --seed) of the method's pointed\n"
         "                         result before the other outputs\n"
         "  --count                print the numbers of pointed pseudo-triangulations and of\n"
         "                         triangulations of the points (no three on a line, at most 64)\n"
         "  --enumerate FILE       with or without --count: write every pointed\n"
         "                         pseudo-triangulation as one JSON line of its edges (\"-\" for\n"
         "                         standard output, the figures then on standard error), as they\n"
         "                         are found\n"
         "  --threads N            --count and --enumerate on N threads (default 1); the numbers\n"
         "                         and the order of the lines do not depend on N\n"
         "  --shard K/N            --count and --enumerate of the K-th of N disjoint parts: the N\n"
         "                         partial numbers add up to the whole, the N listings together\n"
         "                         are the whole listing\n"
         "  --count visits 3 to 4 million pointed pseudo-triangulations a second and thread:\n"
         "  random sets of 12 points take under a second, 13 points a few seconds, 14 points\n"
         "  about 10 s, 15 points about a minute, 16 points about 4 minutes of processor time;\n"
         "  each further point four to eight times longer. --enumerate writes about 700,000\n"
         "  lines (about 150 bytes each at 12 points) a second of processor time.\n"
         "An option with a value is given once. Outputs are written together: when one fails, the\n"
         "others keep their old content.\n"
         "The weight is grouped by thousands with commas.\n"
         "Exit status: 0 success, 1 bad usage, 2 a failure the window would report (its message"
         " on\n"
         "standard error; an output that cannot be written is named), 3 the check failed.\n";
}

}  // namespace qv::cli
