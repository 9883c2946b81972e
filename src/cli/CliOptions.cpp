#include "cli/CliOptions.h"

#include "cli/ImageExport.h"

#include <charconv>
#include <functional>
#include <map>

namespace qv::cli {
namespace {

// A whole decimal integer in [lo, hi], or UsageError naming the option.
long long ParseInteger(const std::string& option, const std::string& text, long long lo,
                       long long hi) {
  long long value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < lo || value > hi)
    throw UsageError(option + " needs a whole number from " + std::to_string(lo) + " to " +
                     std::to_string(hi) + ", not '" + text + "'");
  return value;
}

void ParseCanvas(const std::string& text, TCliOptions& o) {
  size_t x = text.find('x');
  if (x == std::string::npos) throw UsageError("--canvas needs WIDTHxHEIGHT, not '" + text + "'");
  o.CanvasWidth = static_cast<int>(ParseInteger("--canvas width", text.substr(0, x), 1, 100000));
  o.CanvasHeight = static_cast<int>(ParseInteger("--canvas height", text.substr(x + 1), 1, 100000));
}

using TValueSetter = std::function<void(TCliOptions&, const std::string&)>;
using TFlagSetter = std::function<void(TCliOptions&)>;

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
           throw UsageError("--triangulation is fan or random, not '" + v + "'");
         o.Triangulation = v;
       }},
      {"--json", [](TCliOptions& o, const std::string& v) { o.JsonFile = v; }},
      {"--image", [](TCliOptions& o, const std::string& v) { o.ImageFile = v; }},
      {"--out", [](TCliOptions& o, const std::string& v) { o.OutFile = v; }},
  };
  return table;
}

const std::map<std::string, TFlagSetter>& FlagOptions() {
  static const std::map<std::string, TFlagSetter> table = {
      {"--uniform", [](TCliOptions& o) { o.Uniform = true; }},
      {"--pockets", [](TCliOptions& o) { o.Pockets = true; }},
      {"--check", [](TCliOptions& o) { o.Check = true; }},
      {"--help", [](TCliOptions& o) { o.Help = true; }},
      {"-h", [](TCliOptions& o) { o.Help = true; }},
  };
  return table;
}

// Options that only make sense together.
void CheckCombinations(const TCliOptions& o, const std::vector<std::string>& given) {
  auto was = [&](const char* name) {
    for (const std::string& g : given)
      if (g == name) return true;
    return false;
  };
  if (o.Help) return;
  if (!o.File.empty() && o.RandomCount > 0)
    throw UsageError("give either a FILE.pt or --random N, not both");
  if (o.File.empty() && o.RandomCount == 0) throw UsageError("give a FILE.pt or --random N");
  if (o.RandomCount == 0 && (was("--uniform") || was("--normal")))
    throw UsageError("--uniform and --normal need --random N");
  if (o.RandomCount == 0 && o.ImageFile.empty() && was("--canvas"))
    throw UsageError("--canvas needs --random N or --image FILE");
  if (!o.ImageFile.empty() && !ImageTypeKnown(o.ImageFile))
    throw UsageError("--image writes .bmp, .jpg, .png, .svg, .pdf or .tikz, not '" + o.ImageFile +
                     "'");
  if (was("--uniform") && was("--normal"))
    throw UsageError("--uniform and --normal exclude each other");
}

}  // namespace

TCliOptions ParseArguments(const std::vector<std::string>& args) {
  TCliOptions o;
  std::vector<std::string> given;
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
      ValueOptions().at(arg)(o, inlineValue ? value : args[++i]);
      given.push_back(arg);
    } else if (!filesOnly && FlagOptions().count(arg) && !inlineValue) {
      FlagOptions().at(arg)(o);
      given.push_back(arg);
    } else if (!filesOnly && arg.size() > 1 && arg[0] == '-') {
      throw UsageError("unknown option '" + args[i] + "'");
    } else if (o.File.empty()) {
      o.File = arg;
    } else {
      throw UsageError("more than one FILE.pt given");
    }
  }
  CheckCombinations(o, given);
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
         "                         chooser (default fan; random uses --seed)\n"
         "  --pockets              shortest paths: fill the pockets\n"
         "  --json FILE            write the result as JSON (\"-\" for standard output; the\n"
         "                         figures then go to standard error)\n"
         "  --image FILE           draw the result as the window would, on the --canvas size:\n"
         "                         .bmp, .jpg (baseline, quality 90), .png, .svg, .pdf or\n"
         "                         .tikz (TikZ, larger side 12 cm, for LaTeX)\n"
         "  --out FILE.pt          save the points as the method leaves them (sorted, nudged)\n"
         "  --check                run the checker; exit status 3 when the result is not a\n"
         "                         pseudo-triangulation of its region\n"
         "The weight is grouped by thousands with commas.\n"
         "Exit status: 0 success, 1 bad usage, 2 a failure the window would report (its message"
         " on\n"
         "standard error), 3 the check failed.\n";
}

}  // namespace qv::cli
