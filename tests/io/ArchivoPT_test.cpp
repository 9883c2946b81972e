// The ".pt" reader and writer: exact bytes written, every reading rule, garbage input, and the
// safe replacement of files.
#include "io/ArchivoPT.h"

#include <gtest/gtest.h>

#include <random>

#include "TempDir.h"
#include "geometry/UserError.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// The message f throws, or "" when it succeeds.
template <typename F>
std::string Message(F f) {
  try {
    f();
  } catch (const UserError& e) {
    return e.what();
  }
  return "";
}
std::string Invalid(const std::string& text) {
  return "'" + text + "' is not a valid integer value";
}

TEST(PTFormat, WritesHeaderAndCrLfLinesAndReadsThemBack) {
  EXPECT_EQ(FormatPT({{10, 20}, {300, 40}}, false), "NUB\r\n10\r\n20\r\n300\r\n40\r\n");
  EXPECT_EQ(FormatPT({{-7, 0}}, true), "POL\r\n-7\r\n0\r\n");
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
  const struct {
    std::string bytes;
    TNube points;     // when read
    std::string bad;  // the quoted line, when refused
  } rows[] = {
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
  for (const auto& row : rows) {
    if (row.points.empty()) {
      EXPECT_EQ(Message([&] { ParsePT(row.bytes); }), Invalid(row.bad)) << row.bytes.substr(0, 40);
    } else {
      EXPECT_EQ(ParsePT(row.bytes).Points, row.points) << row.bytes.substr(0, 40);
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
    const std::string message = Message([&] {
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
};

TEST_F(PTFiles, SaveReplacesTheFileOrTheLinksTargetWithTheExactBytes) {
  const TNube pts = {{10, 20}, {300, 40}, {150, 200}};
  Spit(Path("cloud.pt"), std::string(10000, 'z'));
  SavePT(Path("cloud.pt"), pts, false);
  EXPECT_EQ(Slurp(Path("cloud.pt")), "NUB\r\n10\r\n20\r\n300\r\n40\r\n150\r\n200\r\n");
  EXPECT_EQ(LoadPT(Path("cloud.pt")).Points, pts);
  EXPECT_EQ(EntriesInDir(), 1);  // no temporary left behind
  fs::create_symlink(Path("cloud.pt"), Path("link.pt"));
  SavePT(Path("link.pt"), {{3, 4}}, true);
  EXPECT_TRUE(fs::is_symlink(Path("link.pt")));
  EXPECT_EQ(Slurp(Path("cloud.pt")), "POL\r\n3\r\n4\r\n");
  // A CR LF split between two read blocks, and many points: the file reader reads as the
  // memory reader does.
  std::string big = "NUB\r\n" + std::string(65529, ' ') + "7\r\n8\r\n";
  for (int i = 0; i < 100000; ++i) big += std::to_string(i) + "\r\n" + std::to_string(-i) + "\r\n";
  Spit(Path("big.pt"), big);
  const TArchivoPT f = LoadPT(Path("big.pt"));
  ASSERT_EQ(f.Points.size(), 100001u);
  EXPECT_EQ(f.Points[0], (TPoint{7, 8}));
  EXPECT_EQ(f.Points, ParsePT(big).Points);
}

TEST_F(PTFiles, FailuresNameTheirCauseAndLeaveNothingBehind) {
  fs::create_directories(Path("taken.pt"));  // a folder: the final rename fails
  Spit(Path("taken.pt/inside"), "keep");
  Spit(Path("bad.pt"), "NUB\r\n1\r\nsix\r\n");
  auto save = [](const std::string& path) { return Message([&] { SavePT(path, {}, false); }); };
  auto load = [](const std::string& path) { return Message([&] { LoadPT(path); }); };
  const std::pair<std::string, std::string> rows[] = {
      {save(Path("taken.pt")), "File access denied"},
      {save(Path("missing/x.pt")), "Folder not found"},
      {save(""), "Invalid filename"},
      {load(Path("none.pt")), "File does not exist. Cannot load."},
      {load(""), "File does not exist. Cannot load."},
      {load(Path("taken.pt")), "File access denied"},
      {load(Path("bad.pt")), Invalid("six")},
      {FileErrorMessage(ENOENT), "File not found"},
      {FileErrorMessage(EIO), "I/O error " + std::to_string(EIO)},
  };
  for (const auto& [got, expected] : rows) EXPECT_EQ(got, expected);
  EXPECT_EQ(Slurp(Path("taken.pt/inside")), "keep");
  EXPECT_EQ(EntriesInDir(), 2);
}

}  // namespace
}  // namespace qv
