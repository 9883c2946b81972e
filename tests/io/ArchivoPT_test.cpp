// The ".pt" reader and writer: exact bytes written, every reading rule, garbage input, and the
// safe replacement of files.
#include "io/ArchivoPT.h"

#include <gtest/gtest.h>

#include "TempDir.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "geometry/UserError.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// The message ParsePT throws, or "" when it reads the content.
std::string ParseMessage(std::string_view bytes) {
  try {
    ParsePT(bytes);
  } catch (const UserError& e) {
    return e.what();
  }
  return "";
}

std::string Invalid(const std::string& text) {
  return "'" + text + "' is not a valid integer value";
}

TEST(PTWriter, WritesHeaderAndOneCoordinatePerCrLfLine) {
  EXPECT_EQ(FormatPT({{10, 20}, {300, 40}, {150, 200}}, false),
            "NUB\r\n10\r\n20\r\n300\r\n40\r\n150\r\n200\r\n");
  EXPECT_EQ(FormatPT({}, false), "NUB\r\n");
  EXPECT_EQ(FormatPT({{-7, 0}}, true), "POL\r\n-7\r\n0\r\n");
  EXPECT_EQ(FormatPT({{INT32_MIN, INT32_MAX}}, false), "NUB\r\n-2147483648\r\n2147483647\r\n");
}

TEST(PTReader, ReadsBackWhatTheWriterWrites) {
  TNube pts = {{10, 20}, {-300, 40}, {INT32_MIN, INT32_MAX}, {0, -1}};
  TArchivoPT nub = ParsePT(FormatPT(pts, false));
  EXPECT_EQ(nub.Header, TCabeceraPT::Nub);
  EXPECT_FALSE(nub.Polygon());
  EXPECT_EQ(nub.Points, pts);
  TArchivoPT pol = ParsePT(FormatPT(pts, true));
  EXPECT_TRUE(pol.Polygon());
  EXPECT_EQ(pol.Points, pts);
  EXPECT_TRUE(ParsePT("NUB\r\n").Points.empty());
  EXPECT_TRUE(ParsePT("").Points.empty());
}

TEST(PTReader, HeaderCountsOnlyWhenItsWordIsNubOrPol) {
  // Other editors leave a byte-order mark and blanks around the word; anything else is no header.
  const std::string bom = "\xEF\xBB\xBF";
  struct Row {
    std::string header;
    TCabeceraPT expected;
  };
  for (const Row& row : std::vector<Row>{{"POL", TCabeceraPT::Pol},
                                         {"NUB", TCabeceraPT::Nub},
                                         {"N\rUB", TCabeceraPT::Nub},  // a stray CR is dropped
                                         {bom + "POL", TCabeceraPT::Pol},
                                         {"POL ", TCabeceraPT::Pol},
                                         {" \tNUB\t  ", TCabeceraPT::Nub},
                                         {bom + " POL ", TCabeceraPT::Pol},
                                         {"pol", TCabeceraPT::Other},
                                         {"POLY", TCabeceraPT::Other},
                                         {"PO", TCabeceraPT::Other},
                                         {"P OL", TCabeceraPT::Other},
                                         {"POL POL", TCabeceraPT::Other},
                                         {bom + bom + "POL", TCabeceraPT::Other},
                                         {"POL" + bom, TCabeceraPT::Other},
                                         {"", TCabeceraPT::Other},
                                         {"12", TCabeceraPT::Other}}) {
    TArchivoPT f = ParsePT(row.header + "\n1\n2\n");
    EXPECT_EQ(f.Header, row.expected) << row.header;
    EXPECT_EQ(f.Points, (TNube{{1, 2}}))
        << row.header;  // the first line is skipped, whatever it is
  }
}

TEST(PTReader, FileWithoutHeaderLosesItsFirstNumber) {
  EXPECT_EQ(ParsePT("10\r\n20\r\n30\r\n").Points, (TNube{{20, 30}}));
  EXPECT_EQ(ParseMessage("10\r\n20\r\n30\r\n40\r\n"), Invalid(""));
}

TEST(PTReader, MissingOrExtraLinesFailWithAnEmptyText) {
  EXPECT_EQ(ParseMessage("NUB\r\n1\r\n2\r\n\r\n"), Invalid(""));   // empty line after the last y
  EXPECT_EQ(ParseMessage("NUB\r\n1\r\n2\r\n3\r\n"), Invalid(""));  // an x without its y
  EXPECT_EQ(ParseMessage("NUB\r\n1\r\n"), Invalid(""));
}

TEST(PTReader, LineEndings) {
  EXPECT_EQ(ParsePT("NUB\n1\n2\n3\n4\n").Points, (TNube{{1, 2}, {3, 4}}));
  EXPECT_EQ(ParsePT("NUB\r\n1\r\n2").Points, (TNube{{1, 2}}));  // last line unterminated
  EXPECT_EQ(ParsePT("NUB\r\n1\r2\r\n3\r\r\n").Points, (TNube{{12, 3}}));
  EXPECT_EQ(ParsePT("NUB\r\n5\r\n6\r").Points, (TNube{{5, 6}}));
  // Files with CR line ends only, as older editors write them.
  EXPECT_EQ(ParsePT("NUB\r1\r2\r3\r4\r").Points, (TNube{{1, 2}, {3, 4}}));
  EXPECT_EQ(ParsePT("POL \r-5\r6").Header, TCabeceraPT::Pol);
  EXPECT_EQ(ParseMessage("NUB\r1\r\r"), Invalid(""));
}

TEST(PTReader, CtrlZEndsTheDataOnlyBeforeAnXLine) {
  EXPECT_EQ(ParsePT("NUB\r\n1\r\n2\r\n\x1a garbage\r\n").Points, (TNube{{1, 2}}));
  EXPECT_EQ(ParseMessage("NUB\r\n1\r\n\x1a\r\n"), Invalid("?"));
  EXPECT_EQ(ParseMessage("NUB\r\n1\r\n2\r\n3\x1a\r\n4\r\n"), Invalid("3?"));
}

TEST(PTReader, CoordinateSyntax) {
  struct Case {
    const char* text;
    int32_t value;
  };
  for (Case c : {Case{"12", 12},
                 {" 12", 12},
                 {"   12", 12},
                 {"+12", 12},
                 {"-12", -12},
                 {"$1F", 31},
                 {"0x1f", 31},
                 {"0X1F", 31},
                 {"x1F", 31},
                 {"X1f", 31},
                 {"0", 0},
                 {"-0", 0},
                 {"00", 0},
                 {"0000000000000000000000012", 12},
                 {"2147483647", INT32_MAX},
                 {"-2147483648", INT32_MIN},
                 {"$FFFFFFFF", -1},
                 {"$80000000", INT32_MIN},
                 {"$7fffffff", INT32_MAX},
                 {" $1F", 31}}) {
    int32_t v = 999;
    EXPECT_TRUE(ParseCoordinate(c.text, v)) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
  }
  for (const char* bad : {"",
                          " ",
                          "12 ",
                          "1.5",
                          "-$1F",
                          "+$1F",
                          "-0x1f",
                          "+",
                          "-",
                          "$",
                          "x",
                          "0x",
                          "\t12",
                          "12a",
                          "1 2",
                          "2147483648",
                          "-2147483649",
                          "99999999999999999999999",
                          "$100000000",
                          "$000000001",
                          "0x1g",
                          "--1",
                          "+-1",
                          "1e3",
                          "0b1",
                          "\x00"
                          "1"}) {
    int32_t v = 0;
    EXPECT_FALSE(ParseCoordinate(bad, v)) << bad;
  }
  int32_t v = 0;
  EXPECT_FALSE(ParseCoordinate(std::string_view("1\0", 2), v));
}

TEST(PTReader, RefusedLineIsQuotedInTheMessage) {
  EXPECT_EQ(ParseMessage("NUB\r\n12 \r\n3\r\n"), Invalid("12 "));
  EXPECT_EQ(ParseMessage("NUB\r\n1\r\n1.5\r\n"), Invalid("1.5"));
  EXPECT_EQ(ParseMessage("NUB\r\n1\r\n2\r\n3\r\n-$1F\r\n"), Invalid("-$1F"));
  // A CR dropped inside a line is not part of the text.
  EXPECT_EQ(ParseMessage("NUB\r\na\rb\r\n1\r\n"), Invalid("ab"));
  // Bytes that are not printable (a NUL would even cut the message short) are shown as '?'.
  EXPECT_EQ(ParseMessage(std::string_view("NUB\r\n1\0002\r\n3\r\n", 13)), Invalid("1?2"));
  EXPECT_EQ(ParseMessage("NUB\r\n\x1b[2J\xff\xfe\t9\r\n3\r\n"), Invalid("?[2J???9"));
  EXPECT_EQ(QuotedInput(std::string(41, '\x80')), std::string(40, '?') + "...");
}

TEST(PTReader, LinesOfAnyLength) {
  std::string spaces(1 << 20, ' ');
  EXPECT_EQ(ParsePT("NUB\r\n" + spaces + "7\r\n" + spaces + "-8\r\n").Points, (TNube{{7, -8}}));
  std::string zeros(1 << 20, '0');
  EXPECT_EQ(ParsePT("NUB\r\n" + zeros + "5\r\n0\r\n").Points, (TNube{{5, 0}}));
  // A huge refused line is quoted by its beginning only.
  std::string junk(1 << 20, 'a');
  EXPECT_EQ(ParseMessage("NUB\r\n" + junk + "\r\n1\r\n"),
            Invalid(std::string(kQuotedLineLimit, 'a') + "..."));
  EXPECT_EQ(ParseMessage("NUB\r\n" + std::string(kQuotedLineLimit, 'b') + "\r\n1\r\n"),
            Invalid(std::string(kQuotedLineLimit, 'b')));
}

TEST(PTReader, RandomBytesGiveContentOrAMessage) {
  std::mt19937 rng(11);
  const char kAlphabet[] = "0123456789 +-$xXaF\r\n\x1a\x00\xff";
  const std::string alphabet(kAlphabet, sizeof kAlphabet - 1);
  int read = 0, refused = 0;
  for (int round = 0; round < 5000; ++round) {
    std::string bytes = round % 2 ? "NUB\r\n" : "";
    int length = static_cast<int>(rng() % 40);
    for (int i = 0; i < length; ++i) bytes.push_back(alphabet[rng() % alphabet.size()]);
    try {
      TArchivoPT f = ParsePT(bytes);
      ++read;
      // Whatever was read survives a write and a read unchanged.
      EXPECT_EQ(ParsePT(FormatPT(f.Points, f.Polygon())).Points, f.Points);
    } catch (const UserError& e) {
      ++refused;
      EXPECT_NE(std::string(e.what()).find("is not a valid integer value"), std::string::npos);
    }
  }
  EXPECT_GT(read, 100);
  EXPECT_GT(refused, 100);
}

class PTFiles : public TScratchTest {
 protected:
  static void Spit(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  int EntriesInDir() const {
    return static_cast<int>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }
  static std::string LoadMessage(const std::string& path) {
    try {
      LoadPT(path);
    } catch (const UserError& e) {
      return e.what();
    }
    return "";
  }
  static std::string SaveMessage(const std::string& path) {
    try {
      SavePT(path, {{1, 2}}, false);
    } catch (const UserError& e) {
      return e.what();
    }
    return "";
  }
};

TEST_F(PTFiles, SaveWritesTheExactBytesAndLoadReadsThemBack) {
  TNube pts = {{10, 20}, {300, 40}, {150, 200}};
  SavePT(Path("cloud.pt"), pts, false);
  EXPECT_EQ(Slurp(Path("cloud.pt")), "NUB\r\n10\r\n20\r\n300\r\n40\r\n150\r\n200\r\n");
  TArchivoPT f = LoadPT(Path("cloud.pt"));
  EXPECT_EQ(f.Points, pts);
  EXPECT_EQ(f.Header, TCabeceraPT::Nub);
  EXPECT_EQ(EntriesInDir(), 1);  // no temporary left behind
}

TEST_F(PTFiles, SaveReplacesAnExistingFileCompletely) {
  Spit(Path("a.pt"), std::string(10000, 'z'));
  SavePT(Path("a.pt"), {{1, 2}}, true);
  EXPECT_EQ(Slurp(Path("a.pt")), "POL\r\n1\r\n2\r\n");
  EXPECT_EQ(EntriesInDir(), 1);
}

TEST_F(PTFiles, SaveThroughALinkKeepsTheLink) {
  Spit(Path("real.pt"), "old");
  fs::create_symlink(Path("real.pt"), Path("link.pt"));
  SavePT(Path("link.pt"), {{3, 4}}, false);
  EXPECT_TRUE(fs::is_symlink(Path("link.pt")));
  EXPECT_EQ(Slurp(Path("real.pt")), "NUB\r\n3\r\n4\r\n");
}

TEST_F(PTFiles, NodesThatAreNoRegularFileAreWrittenInPlace) {
  // A pipe, a link to it, and a link to a descriptor of this process (as /dev/stdout is): each
  // receives the bytes and stays what it was.
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  const int fifo = ::open(Path("fifo").c_str(), O_RDONLY | O_NONBLOCK);
  int ends[2];
  ASSERT_TRUE(fifo >= 0 && ::pipe(ends) == 0);
  fs::create_symlink(Path("fifo"), Path("to-fifo"));
  fs::create_symlink("/proc/self/fd/" + std::to_string(ends[1]), Path("to-fd"));
  for (const auto& [name, reader] :
       {std::pair{"fifo", fifo}, {"to-fifo", fifo}, {"to-fd", ends[0]}}) {
    WriteFileSafely(Path(name), name);
    char got[16] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), static_cast<ssize_t>(std::strlen(name))) << name;
    EXPECT_STREQ(got, name);
  }
  EXPECT_TRUE(fs::is_fifo(fs::symlink_status(Path("fifo"))));
  EXPECT_TRUE(fs::is_symlink(Path("to-fifo")) && fs::is_symlink(Path("to-fd")));
  EXPECT_EQ(EntriesInDir(), 3);
  for (int fd : {fifo, ends[0], ends[1]}) ::close(fd);
}

TEST_F(PTFiles, SeveralOutputsAreAllWrittenOrNoneIs) {
  Spit(Path("a.pt"), "old");
  std::ostringstream standardOutput;
  try {
    WriteFilesSafely(
        {{Path("a.pt"), "new"}, {"-", "out"}, {Path("no/b.pt"), "b"}, {Path("c.pt"), "c"}},
        &standardOutput);
    ADD_FAILURE() << "no failure";
  } catch (const TFileError& e) {
    EXPECT_EQ(e.FileName(), Path("no/b.pt"));
    EXPECT_STREQ(e.what(), "Folder not found");
  }
  EXPECT_EQ(Slurp(Path("a.pt")), "old");
  EXPECT_EQ(standardOutput.str(), "");
  EXPECT_EQ(EntriesInDir(), 1);
  WriteFilesSafely({{Path("a.pt"), "new"}, {"-", "out"}, {Path("c.pt"), "c"}}, &standardOutput);
  EXPECT_EQ(Slurp(Path("a.pt")) + standardOutput.str() + Slurp(Path("c.pt")), "newoutc");
}

TEST_F(PTFiles, FailedSaveLeavesNoTemporaryAndTheOldContent) {
  // The target is a folder: the final rename fails.
  fs::create_directories(Path("taken.pt"));
  Spit(Path("taken.pt/inside"), "keep");
  EXPECT_EQ(SaveMessage(Path("taken.pt")), "File access denied");
  EXPECT_EQ(Slurp(Path("taken.pt/inside")), "keep");
  EXPECT_EQ(EntriesInDir(), 1);
  // A folder that does not exist: nothing is created anywhere.
  EXPECT_EQ(SaveMessage(Path("missing/x.pt")), "Folder not found");
  EXPECT_EQ(EntriesInDir(), 1);
  EXPECT_EQ(SaveMessage(""), "Invalid filename");
}

TEST_F(PTFiles, LoadFailures) {
  EXPECT_EQ(LoadMessage(Path("none.pt")), "File does not exist. Cannot load.");
  EXPECT_EQ(LoadMessage(""), "File does not exist. Cannot load.");
  fs::create_directories(Path("folder.pt"));
  EXPECT_EQ(LoadMessage(Path("folder.pt")), "File access denied");
  Spit(Path("bad.pt"), "NUB\r\n1\r\nsix\r\n");
  EXPECT_EQ(LoadMessage(Path("bad.pt")), Invalid("six"));
}

TEST_F(PTFiles, LargeFileAcrossReadBlocksMatchesTheMemoryReader) {
  // A CR LF split between two read blocks, and many points.
  std::string content = "NUB\r\n" + std::string(65529, ' ') + "7\r\n8\r\n";
  TNube pts;
  for (int i = 0; i < 100000; ++i) pts.push_back({i, -i});
  content += FormatPT(pts, false).substr(5);
  Spit(Path("big.pt"), content);
  TArchivoPT f = LoadPT(Path("big.pt"));
  ASSERT_EQ(f.Points.size(), pts.size() + 1);
  EXPECT_EQ(f.Points[0], (TPoint{7, 8}));
  EXPECT_EQ(f.Points, ParsePT(content).Points);
}

TEST(PTErrors, RuntimeMessages) {
  EXPECT_EQ(FileErrorMessage(ENOENT), "File not found");
  EXPECT_EQ(WriteErrorMessage(ENOENT), "Folder not found");  // a path to a missing folder
  EXPECT_EQ(FileErrorMessage(EACCES), "File access denied");
  EXPECT_EQ(FileErrorMessage(EMFILE), "Too many open files");
  EXPECT_EQ(FileErrorMessage(ENOSPC), "Disk full");
  EXPECT_EQ(FileErrorMessage(ENAMETOOLONG), "Invalid filename");
  EXPECT_EQ(FileErrorMessage(EIO), "I/O error " + std::to_string(EIO));
}

}  // namespace
}  // namespace qv
