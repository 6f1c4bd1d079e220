#ifndef _GNU_SOURCE
#define _GNU_SOURCE  // F_SETPIPE_SZ
#endif
// timeit: times midibas against its floor on one input.
//
//   timeit RUNS DIR INPUT MIDIBAS FLOOR
//
// Runs both programs RUNS times each, alternating, in DIR, with standard
// input from /dev/null and standard output once to a file and once to a
// 1 MiB pipe that this process drains after the program has ended. Prints one row per output kind: the median
// wall time of each and their ratio.
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

static double now() {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

// One run; returns its wall time in seconds.
static double run(const char *dir, const char *exe, const char *input, bool pipe_out) {
  int fds[2] = {-1, -1};
  if (pipe_out && pipe(fds) != 0)
    abort();
  // A pipe large enough for the whole output, drained once the program has
  // ended: what is timed is the program's writes, not how a reader and the
  // writer take turns on the processors.
  if (pipe_out && fcntl(fds[1], F_SETPIPE_SZ, 1 << 20) < (1 << 20)) {
    fprintf(stderr, "timeit: cannot make a 1 MiB pipe\n");
    exit(1);
  }
  double start = now();
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir) != 0)
      _exit(126);
    dup2(open("/dev/null", O_RDONLY), 0);
    if (pipe_out) {
      dup2(fds[1], 1);
      close(fds[0]);
      close(fds[1]);
    } else {
      dup2(open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0666), 1);
    }
    execl(exe, exe, input, (char *)nullptr);
    _exit(127);
  }
  int status;
  if (pipe_out)
    close(fds[1]);
  waitpid(pid, &status, 0);
  double t = now() - start;
  if (pipe_out) {
    static char buf[1 << 16];
    while (read(fds[0], buf, sizeof buf) > 0) {
    }
    close(fds[0]);
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    fprintf(stderr, "timeit: %s failed\n", exe);
    exit(1);
  }
  return t;
}

static double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

int main(int argc, char **argv) {
  if (argc != 6) {
    fprintf(stderr, "usage: timeit RUNS DIR INPUT MIDIBAS FLOOR\n");
    return 2;
  }
  int runs = atoi(argv[1]);
  const char *dir = argv[2], *input = argv[3], *midibas = argv[4], *floor = argv[5];
  bool worst_ok = true;
  for (bool pipe_out : {false, true}) {
    std::vector<double> a, b;
    run(dir, midibas, input, pipe_out);  // warm the caches
    run(dir, floor, input, pipe_out);
    for (int i = 0; i < runs; i++) {
      a.push_back(run(dir, midibas, input, pipe_out));
      b.push_back(run(dir, floor, input, pipe_out));
    }
    double ma = median(a), mb = median(b), ratio = ma / mb;
    printf("| %-18s | %-6s | %9.2f ms | %9.2f ms | %5.3f |\n", input, pipe_out ? "pipe" : "file",
           ma * 1e3, mb * 1e3, ratio);
    worst_ok &= ratio <= 1.10;
  }
  return worst_ok ? 0 : 3;
}
