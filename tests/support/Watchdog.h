// A watchdog for tests whose failure would be a hang: once armed, the process
// ends (exit status 1) when a step runs past the time allowed, after writing
// the step's name to standard error, so that the hang fails the test and says
// where. One at a time: it uses the process's alarm.
#pragma once

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>

class Watchdog {
 public:
  explicit Watchdog(unsigned seconds) : seconds_(seconds) { signal(SIGALRM, &Watchdog::expire); }
  ~Watchdog() { alarm(0); }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

  // Names the step that runs next and gives it the whole time again.
  void step(const std::string& name) {
    const std::size_t n = std::min(name.size(), kLabel - 1);
    std::memcpy(label(), name.data(), n);
    label()[n] = '\0';
    alarm(seconds_);
  }

 private:
  static constexpr std::size_t kLabel = 256;
  static char* label() {
    static char text[kLabel];
    return text;
  }
  static void expire(int) {
    static const char prefix[] = "watchdog: no answer in time from ";
    (void)!write(2, prefix, sizeof prefix - 1);
    (void)!write(2, label(), std::strlen(label()));
    (void)!write(2, "\n", 1);
    _exit(1);
  }

  unsigned seconds_;
};
