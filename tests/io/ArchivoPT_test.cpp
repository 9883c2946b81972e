// The ".pt" reader and writer: exact bytes written, every reading rule, garbage input, and the
// safe replacement of files (links, permissions, outputs named twice); the removal of the
// temporaries on a signal is checked on the command-line program, which writes through them.
#include "io/ArchivoPT.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <sstream>

#include <functional>

#include "Rechazo.h"
#include "TempDir.h"
#include "io/Salida.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using testing::Refusal;

std::string Invalid(const std::string& text) {
  return "'" + text + "' is not a valid integer value";
}

TEST(PTFormat, ReadsBackWhatItWritesUnderEitherHeader) {
  const TNube pts = {{10, 20}, {-300, 40}, {INT32_MIN, INT32_MAX}, {0, -1}};
  for (bool polygon : {false, true}) {
    const TArchivoPT f = ParsePT(FormatPT(pts, polygon));
    EXPECT_EQ(f.Header, polygon ? TCabeceraPT::Pol : TCabeceraPT::Nub);
    EXPECT_EQ(f.Points, pts);
  }
  EXPECT_TRUE(ParsePT("").Points.empty());
}

TEST(PTReader, HeaderCountsOnlyWhenItsWordIsNubOrPol) {
  // Other editors leave a byte-order mark and blanks around the word; anything else is no header.
  const std::string bom = "\xEF\xBB\xBF";
  const std::pair<TCabeceraPT, std::vector<std::string>> rows[] = {
      {TCabeceraPT::Pol, {"POL", bom + "POL", "POL ", bom + " POL "}},
      {TCabeceraPT::Nub, {"NUB", "N\rUB", " \tNUB\t  "}},  // a stray CR is dropped
      {TCabeceraPT::Other,
       {"pol", "POLY", "PO", "P OL", "POL POL", bom + bom + "POL", "POL" + bom, "", "12"}}};
  for (const auto& [expected, headers] : rows) {
    for (const std::string& header : headers) {
      const TArchivoPT f = ParsePT(header + "\n1\n2\n");
      EXPECT_EQ(f.Header, expected) << header;
      EXPECT_EQ(f.Points, (TNube{{1, 2}})) << header;  // the first line is skipped, whatever it is
    }
  }
  EXPECT_EQ(ParsePT("POL \r-5\r6").Header, TCabeceraPT::Pol);
}

TEST(PTReader, LinesAreReadOrRefusedWithTheLineQuoted) {
  // Rows: bytes, points read, quoted line.
  const std::tuple<std::string, TNube, std::string> rows[] = {
      {"10\r\n20\r\n30\r\n", {{20, 30}}, ""},  // no header: the first number is lost
      {"NUB\r\n1\r\n2\r\n\r\n", {}, ""},       // empty line after the last y
      {"NUB\r\n1\r\n2\r\n3\r\n", {}, ""},      // an x without its y
      {"NUB\n1\n2\n3\n4\n", {{1, 2}, {3, 4}}, ""},
      {"NUB\r\n1\r\n2", {{1, 2}}, ""},  // last line unterminated
      {"NUB\r\n1\r2\r\n3\r\r\n", {{12, 3}}, ""},
      {"NUB\r\n5\r\n6\r", {{5, 6}}, ""},
      {"NUB\r1\r2\r3\r4\r", {{1, 2}, {3, 4}}, ""},  // CR line ends only, as older editors
      {"NUB\r1\r\r", {}, ""},
      {"NUB\r\n1\r\n2\r\n\x1a garbage\r\n", {{1, 2}}, ""},  // Ctrl+Z ends the data before an x
      {"NUB\r\n1\r\n\x1a\r\n", {}, "?"},
      {"NUB\r\n1\r\n2\r\n3\x1a\r\n4\r\n", {}, "3?"},
      {"NUB\r\n12 \r\n3\r\n", {}, "12 "},
      {"NUB\r\n1\r\n2\r\n3\r\n-$1F\r\n", {}, "-$1F"},
      {"NUB\r\na\rb\r\n1\r\n", {}, "ab"},  // a CR dropped inside a line is not quoted
      // Bytes that are not printable (a NUL would cut the message short) are shown as '?'.
      {std::string("NUB\r\n1\0002\r\n3\r\n", 13), {}, "1?2"},
      {"NUB\r\n\x1b[2J\xff\xfe\t9\r\n3\r\n", {}, "?[2J???9"},
      // A huge line is quoted by its beginning only; lines of any length are read.
      {"NUB\r\n" + std::string(1 << 20, 'a') + "\r\n1\r\n", {}, std::string(40, 'a') + "..."},
      {"NUB\r\n" + std::string(40, 'b') + "\r\n1\r\n", {}, std::string(40, 'b')},
      {"NUB\r\n" + std::string(1 << 20, ' ') + "7\r\n" + std::string(1 << 20, '0') + "8\r\n",
       {{7, 8}},
       ""},
  };
  for (const auto& [bytes, points, bad] : rows) {
    if (points.empty()) {
      EXPECT_EQ(Refusal([&] { ParsePT(bytes); }), Invalid(bad)) << bytes.substr(0, 40);
    } else {
      EXPECT_EQ(ParsePT(bytes).Points, points) << bytes.substr(0, 40);
    }
  }
}

TEST(PTReader, CoordinateSyntax) {
  const std::pair<int32_t, std::vector<const char*>> good[] = {
      {12, {"12", " 12", "   12", "+12", "0000000000000000000000012"}},
      {31, {"$1F", " $1F", "0x1f", "0X1F", "x1F", "X1f"}},
      {0, {"0", "-0", "00"}},
      {-12, {"-12"}},
      {-1, {"$FFFFFFFF"}},
      {INT32_MAX, {"2147483647", "$7fffffff"}},
      {INT32_MIN, {"-2147483648", "$80000000"}}};
  for (const auto& [value, texts] : good) {
    for (const char* text : texts) {
      int32_t v = 999;
      EXPECT_TRUE(ParseCoordinate(text, v)) << text;
      EXPECT_EQ(v, value) << text;
    }
  }
  std::istringstream bad(
      "| |12 |1.5|-$1F|+$1F|-0x1f|+|-|$|x|0x|\t12|12a|1 2|2147483648|-2147483649|1e3|0b1|"
      "99999999999999999999999|$100000000|$000000001|0x1g|--1|+-1");
  for (std::string text; std::getline(bad, text, '|');) {
    int32_t v = 0;
    EXPECT_FALSE(ParseCoordinate(text, v)) << text;
  }
  int32_t v = 0;
  EXPECT_FALSE(ParseCoordinate(std::string_view("1\0", 2), v));
}

TEST(PTReader, RandomBytesGiveContentThatSurvivesAWriteOrAMessage) {
  std::mt19937 rng(11);
  const std::string alphabet("0123456789 +-$xXaF\r\n\x1a\x00\xff", 23);
  for (int round = 0; round < 5000; ++round) {
    std::string bytes = round % 2 ? "NUB\r\n" : "";
    for (int i = static_cast<int>(rng() % 40); i > 0; --i) bytes += alphabet[rng() % 23];
    const std::string message = Refusal([&] {
      const TArchivoPT f = ParsePT(bytes);
      EXPECT_EQ(ParsePT(FormatPT(f.Points, f.Polygon())).Points, f.Points);
    });
    EXPECT_TRUE(message.empty() || message.ends_with("is not a valid integer value")) << message;
  }
}

class PTFiles : public TScratchTest {
 protected:
  static void Spit(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  int EntriesInDir() const { return int(std::distance(fs::directory_iterator(dir_), {})); }
  // Runs f in a child process as a user without privileges (nobody, when the tests run as the
  // superuser, who may write any file) and returns what it wrote to its pipe.
  static std::string InChild(const std::function<std::string()>& f) {
    int ends[2];
    if (::pipe(ends) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
      ::close(ends[0]);
      const bool dropped = ::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0);
      const std::string text = dropped ? f() : "cannot drop privileges";
      const ssize_t written = ::write(ends[1], text.data(), text.size());
      ::_exit(written == ssize_t(text.size()) ? 0 : 1);
    }
    ::close(ends[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;)
      text.append(buffer, size_t(n));
    ::close(ends[0]);
    ::waitpid(child, nullptr, 0);
    return text;
  }
};

TEST_F(PTFiles, SaveReplacesTheFileOrTheLinksTargetWithTheExactBytes) {
  const TNube pts = {{10, 20}, {300, 40}, {150, 200}};
  Spit(Path("cloud.pt"), std::string(10000, 'z'));
  SavePT(Path("cloud.pt"), pts, false);
  EXPECT_EQ(Slurp(Path("cloud.pt")), "NUB\r\n10\r\n20\r\n300\r\n40\r\n150\r\n200\r\n");
  EXPECT_EQ(LoadPT(Path("cloud.pt")).Points, pts);
  EXPECT_EQ(EntriesInDir(), 1);  // no temporary left behind
  fs::create_symlink(Path("cloud.pt"), Path("link.pt"));
  SavePT(Path("link.pt"), {{-3, 4}}, true);
  EXPECT_TRUE(fs::is_symlink(Path("link.pt")));
  EXPECT_EQ(Slurp(Path("cloud.pt")), "POL\r\n-3\r\n4\r\n");
  // A dangling link, relative to its own folder, through a second link: the file it names is
  // created and both links stay.
  fs::create_directories(Path("sub"));
  fs::create_symlink("../new.pt", Path("sub/hop.pt"));
  fs::create_symlink("sub/hop.pt", Path("dangling.pt"));
  SavePT(Path("dangling.pt"), {{5, 6}}, false);
  EXPECT_TRUE(fs::is_symlink(Path("dangling.pt")) && fs::is_symlink(Path("sub/hop.pt")));
  EXPECT_EQ(Slurp(Path("new.pt")), "NUB\r\n5\r\n6\r\n");
  for (const char* name : {"sub", "dangling.pt", "new.pt"}) fs::remove_all(Path(name));
  // A CR LF split between two read blocks, and many points: the file reader reads as the
  // memory reader does.
  std::string big = "NUB\r\n" + std::string(65529, ' ') + "7\r\n8\r\n";
  for (int i = 0; i < 100000; ++i) big += std::to_string(i) + "\r\n" + std::to_string(-i) + "\r\n";
  Spit(Path("big.pt"), big);
  const TArchivoPT f = LoadPT(Path("big.pt"));
  EXPECT_EQ(f.Points, ParsePT(big).Points);
}

TEST_F(PTFiles, FailuresNameTheirCauseAndLeaveNothingBehind) {
  fs::create_directories(Path("taken.pt"));  // a folder: the final rename fails
  Spit(Path("taken.pt/inside"), "keep");
  Spit(Path("bad.pt"), "NUB\r\n1\r\nsix\r\n");
  auto save = [](const std::string& path) { return Refusal([&] { SavePT(path, {}, false); }); };
  auto load = [](const std::string& path) { return Refusal([&] { LoadPT(path); }); };
  std::ostringstream broken;  // a stream that failed without a cause of its own
  broken.setstate(std::ios::badbit);
  const std::pair<std::string, std::string> rows[] = {
      {save(Path("taken.pt")), "File access denied"},
      {save(Path("missing/x.pt")), "Folder not found"},
      {save(""), "Invalid filename"},
      {load(Path("none.pt")), "File does not exist. Cannot load."},
      {load(""), "File does not exist. Cannot load."},
      {load(Path("taken.pt")), "File access denied"},
      {load(Path("bad.pt")), Invalid("six")},
      {FileErrorMessage(ENOENT), "File not found"},
      {FileErrorMessage(StreamError(broken)), "I/O error " + std::to_string(EIO)},
  };
  for (const auto& [got, expected] : rows) EXPECT_EQ(got, expected);
  EXPECT_EQ(Slurp(Path("taken.pt/inside")), "keep");
  EXPECT_EQ(EntriesInDir(), 2);
}

// Permissions as a user without privileges sees them: a write-protected file is refused and
// kept; a writable file in a folder that takes no new file is written in place; every failure
// is found by the check made before any work.
TEST_F(PTFiles, PermissionsAreHonouredAsCpHonoursThem) {
  for (const char* name : {"open", "shut"}) fs::create_directories(Path(name));
  for (const char* name : {"open/ro.pt", "shut/rw.pt"}) Spit(Path(name), "old");
  fs::permissions(Path("open"), fs::perms::all);
  fs::permissions(Path("open/ro.pt"), fs::perms(0444));
  fs::permissions(Path("shut/rw.pt"), fs::perms(0666));
  fs::permissions(Path("shut"), fs::perms(0555));
  fs::permissions(dir_, fs::perms(0755));
  // Rows: file, message, its content afterwards.
  const std::tuple<std::string, std::string, std::string> rows[] = {
      {Path("open/ro.pt"), kPermissionDenied, "old"},
      {Path("shut/rw.pt"), "", "NUB\r\n1\r\n2\r\n"},
      {Path("shut/new.pt"), "File access denied", ""},
  };
  for (const auto& [name, message, content] : rows) {
    const std::string got = InChild([&] {
      const std::string checked = Refusal([&] { CheckOutputFile(name); });
      const std::string saved = Refusal([&] { SavePT(name, {{1, 2}}, false); });
      return checked == saved ? saved : "check '" + checked + "', save '" + saved + "'";
    });
    EXPECT_EQ(got, message) << name;
    EXPECT_EQ(Slurp(name), content) << name;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(Path("shut")), {}), 1);
  fs::permissions(Path("shut"), fs::perms::all);
}

// Two names of one file: the file decides (device and inode, or the path links lead to).
TEST_F(PTFiles, OutputsAreTheSameFileWhenTheirNamesLeadToOne) {
  Spit(Path("a"), "a");
  fs::create_symlink(Path("a"), Path("to-a"));
  fs::create_hard_link(Path("a"), Path("hard-a"));
  fs::create_symlink("later", Path("to-later"));
  fs::create_symlink("loop", Path("loop"));
  const std::tuple<std::string, std::string, bool> rows[] = {
      {Path("a"), dir_.string() + "/./a", true},
      {Path("a"), Path("to-a"), true},
      {Path("a"), Path("hard-a"), true},
      {Path("to-later"), Path("later"), true},
      {Path("new"), Path("../") + dir_.filename().string() + "/new", true},
      {Path("new"), Path("later"), false},
      {Path("a"), Path("later"), false},
      {"-", "-", true},
      {"-", Path("a"), false},
      {Path("loop"), Path("a"), false},
      {"relative.json", "./relative.json", true},
      {"relative.json", "../relative.json", false},
  };
  for (const auto& [a, b, same] : rows) {
    EXPECT_EQ(SameOutputFile(a, b), same) << a << " " << b;
    EXPECT_EQ(SameOutputFile(b, a), same) << b << " " << a;
  }
  EXPECT_EQ(Refusal([&] { CheckOutputFile(Path("loop")); }), "I/O error " + std::to_string(ELOOP));
}

}  // namespace
}  // namespace qv
