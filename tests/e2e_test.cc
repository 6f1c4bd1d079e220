// End-to-end tests: the built program in a fresh temporary folder, with its
// standard input given, compared on standard output, exit status and
// tvcsound.txt byte for byte.
//
// MIDIBAS_EXE names the program to run; MIDIBAS_WINE_EXE instead names the
// Windows program, run under wine. Cases that exist only on POSIX skip for
// the Windows program.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "routine.h"

namespace {

enum class Out { Pipe, DevFull, ClosedPipe };

struct Options {
  std::string input;  // standard input; empty: /dev/null
  Out out = Out::Pipe;
  long fsize_limit = -1;      // RLIMIT_FSIZE in bytes for the program
  bool as_user = false;       // run as an ordinary user
};

struct Result {
  std::string out;
  int status = -1;
};

std::string slurp(const std::string &path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string crlf(const std::vector<std::string> &lines) {
  std::string s;
  for (const std::string &l : lines)
    s += l + "\r\n";
  return s;
}

const char *env(const char *name) {
  const char *v = getenv(name);
  return v != nullptr && *v != '\0' ? v : nullptr;
}

class E2E : public ::testing::Test {
protected:
  std::string dir;

  void SetUp() override {
    ASSERT_TRUE(env("MIDIBAS_EXE") || env("MIDIBAS_WINE_EXE"))
        << "MIDIBAS_EXE or MIDIBAS_WINE_EXE names the program to test";
    char tmpl[] = "/tmp/midibas-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    chmod(dir.c_str(), 0777);  // an ordinary user works here too
  }

  void TearDown() override {
    if (!dir.empty())
      (void)!system(("chmod -R u+rwx '" + dir + "' 2>/dev/null; rm -rf '" + dir + "'").c_str());
  }

  static bool windows() { return env("MIDIBAS_WINE_EXE") != nullptr; }

  std::string path(const std::string &name) const { return dir + "/" + name; }

  void put(const std::string &name, const std::string &bytes) const {
    std::ofstream f(path(name), std::ios::binary);
    f.write(bytes.data(), (std::streamsize)bytes.size());
    ASSERT_TRUE(f.good());
  }

  bool exists(const std::string &name) const {
    struct stat st;
    return lstat(path(name).c_str(), &st) == 0;
  }

  std::string listing() const { return slurp(path("tvcsound.txt")); }

  // Runs the program in the test's folder with the given arguments.
  Result run(const std::vector<std::string> &args, const Options &o = Options()) {
    std::vector<std::string> argv;
    if (o.as_user && geteuid() == 0)
      argv = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    if (windows()) {
      argv.push_back("wine");
      argv.push_back(env("MIDIBAS_WINE_EXE"));
    } else {
      argv.push_back(env("MIDIBAS_EXE"));
    }
    argv.insert(argv.end(), args.begin(), args.end());

    int out[2], in[2];
    if (pipe(out) != 0 || pipe(in) != 0)
      abort();
    if (o.out == Out::ClosedPipe)
      close(out[0]);  // before the program starts: no reader, ever
    pid_t pid = fork();
    if (pid == 0) {
      if (chdir(dir.c_str()) != 0)
        _exit(126);
      if (o.input.empty()) {
        int fd = open("/dev/null", O_RDONLY);
        dup2(fd, 0);
      } else {
        dup2(in[0], 0);
      }
      if (o.out == Out::DevFull)
        dup2(open("/dev/full", O_WRONLY), 1);
      else
        dup2(out[1], 1);
      int null = open("/dev/null", O_WRONLY);
      dup2(null, 2);
      if (o.out != Out::ClosedPipe)
        close(out[0]);
      close(out[1]);
      close(in[0]);
      close(in[1]);
      if (o.fsize_limit >= 0) {
        struct rlimit rl = {(rlim_t)o.fsize_limit, (rlim_t)o.fsize_limit};
        setrlimit(RLIMIT_FSIZE, &rl);
      }
      signal(SIGPIPE, SIG_DFL);
      setenv("WINEDEBUG", "-all", 1);
      std::vector<char *> cargv;
      for (std::string &a : argv)
        cargv.push_back(&a[0]);
      cargv.push_back(nullptr);
      execvp(cargv[0], cargv.data());
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    signal(SIGPIPE, SIG_IGN);
    if (!o.input.empty())
      (void)!write(in[1], o.input.data(), o.input.size());
    close(in[1]);
    Result r;
    if (o.out != Out::ClosedPipe) {
      char buf[65536];
      ssize_t n;
      while ((n = read(out[0], buf, sizeof buf)) > 0)
        r.out.append(buf, (size_t)n);
      close(out[0]);
    }
    int ws;
    waitpid(pid, &ws, 0);
    r.status = WIFEXITED(ws) ? WEXITSTATUS(ws) : 128 + WTERMSIG(ws);
    return r;
  }
};

// Cases that need an ordinary user: run as one when the tests run as root,
// and skip when none can be had.
class AsUser : public E2E {
protected:
  void SetUp() override {
    E2E::SetUp();
    if (windows())
      GTEST_SKIP() << "POSIX only: file modes";
    if (geteuid() == 0 &&
        system("setpriv --reuid=65534 --regid=65534 --clear-groups true >/dev/null 2>&1") != 0)
      GTEST_SKIP() << "no ordinary user to be had";
  }
};

// The head of every run on `name` with the given settings.
std::string head(const std::string &name, unsigned bytes, int transpose = 0, int track = 144) {
  return crlf({"Open: " + name, "Readed: " + std::to_string(bytes) + " bytes",
               "Transpose: " + std::to_string(transpose),
               "Looking for track (" + std::to_string(track) + ")..."});
}

// The lines n:byte of the search from 21 on, over the given file bytes.
std::string searched(const std::string &bytes, unsigned last) {
  std::string s;
  for (unsigned p = 21; p <= last; p++)
    s += std::to_string(p) + ":" + std::to_string(p < bytes.size() ? (unsigned char)bytes[p] : 0) + "\r\n";
  return s;
}


// A file whose status byte sits at `at`, followed by the stream bytes.
std::string song(size_t at, const std::string &stream) {
  std::string s(at, 'M');
  return s + '\x90' + stream;
}

// n notes of pitch index k (C3 and up), each with delta 10, then End of Track.
std::string notes(unsigned n) {
  std::string s;
  for (unsigned k = 0; k < n; k++)
    s += std::string{(char)(60 + k % 12), (char)64, (char)10};
  return s + std::string("\xFF\x2F\x00", 3);
}

TEST_F(E2E, WalkThroughExample) {
  std::string mid = slurp(MIDIBAS_EXAMPLES "/overview.mid");
  ASSERT_EQ(mid.size(), 64u);
  put("overview.mid", mid);
  Result r = run({"overview.mid"}, {"\n"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, head("overview.mid", 64) + searched(mid, 38) +
                       crlf({"Creating data...", "60:64:48/C3-3349", "60:0:16/4095",
                             "127:64:32/Skipped", "64:64:0/Skipped", "67:64:129/G3-3598",
                             "64:0:12/4095", "67:0:0/Skipped", "End."}));
  EXPECT_EQ(searched(mid, 38).substr(0, 7), "21:42\r\n");
  std::string l = listing();
  EXPECT_EQ(l, std::string(ROUTINE) + "300 data 3349,10,4095,4,3598,33,4095,3,-1,-1\r\n");
  EXPECT_EQ(l.size(), 257u);
}

TEST_F(E2E, ArgumentsSelectTransposeAndStatus) {
  // Status 145 (channel 2) at 40, the default 144 at 30.
  std::string mid = song(30, std::string("\x3C\x40\x30\xFF\x2F\x00", 6));
  mid += '\x91' + std::string("\x3C\x40\x30\xFF\x2F\x00", 6);
  put("s.mid", mid);
  const struct {
    std::vector<std::string> args;
    int transpose, track;
    unsigned found;
    const char *trace;
  } cases[] = {
      {{"s.mid"}, 0, 144, 30, "60:64:48/C3-3349"},
      {{"s.mid", ""}, 0, 144, 30, "60:64:48/C3-3349"},
      {{"s.mid", "", "145"}, 0, 145, 37, "60:64:48/C3-3349"},
      {{"s.mid", "-3", "$91"}, -3, 145, 37, "60:64:48/A2-3208"},
      {{"s.mid", "65535"}, -1, 144, 30, "60:64:48/H2-3305"},
      {{"s.mid", "+12", "0x90"}, 12, 144, 30, "60:64:48/C4-3723"},
      {{"s.mid", "0", "400"}, 0, 144, 30, "60:64:48/C3-3349"},
  };
  for (const auto &c : cases) {
    Result r = run(c.args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, head("s.mid", (unsigned)mid.size(), c.transpose, c.track) +
                         searched(mid, c.found) + crlf({"Creating data...", c.trace, "End."}))
        << c.args.size();
  }
}

TEST_F(E2E, InvalidStatusSearchesForZero) {
  std::string mid(30, '\x07');
  put("z.mid", mid);
  for (const char *status : {"-1", "abc", "256"}) {
    Result r = run({"z.mid", "0", status});
    EXPECT_EQ(r.status, 0);
    // 30 is one past the data; its 0 matches but counts as not found.
    EXPECT_EQ(r.out, head("z.mid", 30, 0, 0) + searched(mid, 30) + crlf({"TRACK NOT FOUND!", "End."}));
  }
  EXPECT_FALSE(exists("tvcsound.txt"));
}

TEST_F(E2E, SearchRunsOut) {
  const struct {
    size_t size;
    unsigned last;  // the last position printed, 0: none
  } cases[] = {{30, 30}, {21, 21}, {20, 0}, {5, 0}, {0, 0}};
  for (const auto &c : cases) {
    std::string mid(c.size, 'x');
    if (c.size > 3)
      mid[3] = '\x90';  // before position 21: never seen
    put("f.mid", mid);
    put("tvcsound.txt", "earlier listing");
    Result r = run({"f.mid"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, head("f.mid", (unsigned)c.size) + (c.last ? searched(mid, c.last) : "") +
                         crlf({"TRACK NOT FOUND!", "End."}))
        << c.size;
    EXPECT_EQ(listing(), "earlier listing");
  }
}

TEST_F(E2E, LongInputIsCutAtTheBuffer) {
  std::string mid(70000, '\x01');
  put("big.mid", mid);
  Result r = run({"big.mid"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, head("big.mid", 60001) + searched(std::string(60001, '\x01'), 60001) +
                       crlf({"TRACK NOT FOUND!", "End."}));
  EXPECT_NE(r.out.find("\r\n60000:1\r\n60001:0\r\n"), std::string::npos);
}

TEST_F(E2E, StatusAtPosition21) {
  std::string mid = song(21, notes(1));
  put("s.mid", mid);
  Result r = run({"s.mid"});
  EXPECT_EQ(r.out, head("s.mid", (unsigned)mid.size()) +
                       crlf({"21:144", "Creating data...", "60:64:10/C3-3349", "End."}));
  EXPECT_EQ(listing(), std::string(ROUTINE) + "300 data 3349,3,-1,-1\r\n");
}

TEST_F(E2E, DataLinesHold19Pairs) {
  const struct {
    unsigned pairs;
    const char *tail;
  } cases[] = {
      {19, "3349,3,3391,3,3431,3,3468,3,3503,3,3537,3,3568,3\r\n310 data -1,-1\r\n"},
      {40, "\r\n320 data 3431,3,3468,3,-1,-1\r\n"},
  };
  for (const auto &c : cases) {
    std::string mid = song(21, notes(c.pairs));
    put("s.mid", mid);
    Result r = run({"s.mid"});
    EXPECT_EQ(r.status, 0);
    std::string l = listing();
    EXPECT_EQ(l.substr(l.size() - strlen(c.tail)), c.tail) << c.pairs;
    EXPECT_EQ(l.find("300 data 3349,3,3391,3,"), strlen(ROUTINE));
  }
}

TEST_F(E2E, ReplacesAnEarlierListing) {
  put("tvcsound.txt", std::string(5000, 'x'));
  put("s.mid", song(21, notes(2)));
  EXPECT_EQ(run({"s.mid"}).status, 0);
  EXPECT_EQ(listing(), std::string(ROUTINE) + "300 data 3349,3,3391,3,-1,-1\r\n");
}

TEST_F(E2E, InputFromAPipe) {
  if (windows())
    GTEST_SKIP() << "POSIX only: /dev/stdin";
  std::string mid = song(100, notes(3000));  // far more than one pipe buffer
  put("s.mid", mid);
  Result file = run({"s.mid"});
  std::string from_file = listing();
  Options o;
  o.input = mid;
  Result piped = run({"/dev/stdin"}, o);
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.out.substr(piped.out.find("\r\n")), file.out.substr(file.out.find("\r\n")));
  EXPECT_EQ(listing(), from_file);
}

TEST_F(E2E, Usage) {
  put("tvcsound.txt", "earlier listing");
  Result r = run({}, {"\n"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out.substr(0, 15), "Usage: midibas ");
  EXPECT_EQ(r.out.substr(r.out.size() - 2), "\r\n");
  EXPECT_EQ(listing(), "earlier listing");
}

// The report after the given console text: its number, its address lines.
void expect_report(const Result &r, const std::string &before, int status, size_t callers) {
  EXPECT_EQ(r.status, status);
  ASSERT_EQ(r.out.substr(0, before.size()), before);
  std::string rep = r.out.substr(before.size());
  std::string first = "Runtime error " + std::to_string(status) + " at $";
  ASSERT_EQ(rep.substr(0, first.size()), first) << rep;
  std::string addr = rep.substr(first.size() - 1, 9);
  std::string want = first + addr.substr(1) + "\r\n  " + addr + "\r\n";
  for (size_t i = 0; i < callers; i++)
    want += "  $XXXXXXXX\r\n";
  want += "\r\n";
  ASSERT_EQ(rep.size(), want.size()) << rep;
  for (size_t i = 0; i < want.size(); i++)
    if (want[i] == 'X')
      want[i] = strchr("0123456789ABCDEF", rep[i]) && rep[i] ? rep[i] : '?';
  EXPECT_EQ(rep, want);
}

TEST_F(E2E, InputFailures) {
  mkdir(path("folder").c_str(), 0777);
  put("tvcsound.txt", "earlier listing");
  const struct {
    std::string name;
    int status;
  } cases[] = {
      {"missing.mid", 2},
      {"", 2},
      {"nofolder/song.mid", 3},
      {"folder", 5},
  };
  for (const auto &c : cases) {
    Result r = run({c.name});
    expect_report(r, crlf({"Open: " + c.name}), c.status, 1);
    EXPECT_EQ(listing(), "earlier listing");
  }
}

TEST_F(AsUser, ReadOnlyInputLoads) {
  std::string mid = song(21, notes(1));
  put("s.mid", mid);
  chmod(path("s.mid").c_str(), 0444);
  Options o;
  o.as_user = true;
  Result r = run({"s.mid"}, o);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, head("s.mid", (unsigned)mid.size()) +
                       crlf({"21:144", "Creating data...", "60:64:10/C3-3349", "End."}));
}

TEST_F(E2E, StandardOutputOnAFullDisk) {
  put("s.mid", song(21, notes(1)));
  Options o;
  o.out = Out::DevFull;
  EXPECT_EQ(run({"s.mid"}, o).status, 101);
  EXPECT_FALSE(exists("tvcsound.txt"));
}

TEST_F(E2E, StandardOutputToAClosedPipe) {
  if (windows())
    GTEST_SKIP() << "POSIX only: the system's own error number for a closed pipe";
  put("s.mid", song(21, notes(1)));
  Options o;
  o.out = Out::ClosedPipe;
  EXPECT_EQ(run({"s.mid"}, o).status, 32);
  EXPECT_FALSE(exists("tvcsound.txt"));
}

TEST_F(E2E, ListingIsAFolder) {
  mkdir(path("tvcsound.txt").c_str(), 0777);
  std::string mid = song(21, notes(1));
  put("s.mid", mid);
  Result r = run({"s.mid"});
  expect_report(r, head("s.mid", (unsigned)mid.size()) + crlf({"21:144", "Creating data..."}), 5, 2);
}

TEST_F(E2E, ListingOnAFullDisk) {
  ASSERT_EQ(symlink("/dev/full", path("tvcsound.txt").c_str()), 0);
  std::string mid = song(21, notes(1));
  put("s.mid", mid);
  Result r = run({"s.mid"});
  // The listing fits in one block, written at the close, after the trace.
  expect_report(r,
                head("s.mid", (unsigned)mid.size()) +
                    crlf({"21:144", "Creating data...", "60:64:10/C3-3349"}),
                101, 2);
}

TEST_F(E2E, ListingOverTheFileSizeLimit) {
  if (windows())
    GTEST_SKIP() << "POSIX only: RLIMIT_FSIZE";
  std::string mid = song(21, notes(200));
  put("s.mid", mid);
  Result full = run({"s.mid"});
  ASSERT_EQ(full.status, 0);
  std::string whole = listing();
  ASSERT_GT(whole.size(), 1024u);
  Options o;
  o.fsize_limit = 512;
  Result r = run({"s.mid"}, o);
  EXPECT_EQ(r.status, 101);
  EXPECT_EQ(listing(), whole.substr(0, 512));
  size_t cut = r.out.find("Runtime error 101 at $");
  ASSERT_NE(cut, std::string::npos);
  expect_report(r, r.out.substr(0, cut), 101, 2);
  EXPECT_EQ(full.out.compare(0, cut, r.out, 0, cut), 0);
}

TEST_F(AsUser, ListingNotWritable) {
  std::string mid = song(21, notes(1));
  put("s.mid", mid);
  chmod(path("s.mid").c_str(), 0444);
  std::string before = head("s.mid", (unsigned)mid.size()) + crlf({"21:144", "Creating data..."});
  Options o;
  o.as_user = true;

  put("tvcsound.txt", "read-only listing");
  chmod(path("tvcsound.txt").c_str(), 0444);
  expect_report(run({"s.mid"}, o), before, 5, 2);
  EXPECT_EQ(listing(), "read-only listing");

  unlink(path("tvcsound.txt").c_str());
  chmod(dir.c_str(), 0555);
  expect_report(run({"s.mid"}, o), before, 5, 2);
  chmod(dir.c_str(), 0777);
  EXPECT_FALSE(exists("tvcsound.txt"));
}

TEST_F(E2E, WaitsForOneLine) {
  // The final read takes one line and returns; at the end of data it
  // returns at once.
  put("s.mid", std::string(30, 'x'));
  Options o;
  o.input = "first line\nsecond line\n";
  EXPECT_EQ(run({"s.mid"}, o).status, 0);
  o.input = "no line end";
  EXPECT_EQ(run({"s.mid"}, o).status, 0);
}

}  // namespace
