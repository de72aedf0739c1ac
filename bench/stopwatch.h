#pragma once
// Milliseconds since a moment, from the performance counter (the system's monotonic clock).

#include <windows.h>

#include <functional>

class Stopwatch {
 public:
  Stopwatch() { Restart(); }
  void Restart() { QueryPerformanceCounter(&start_); }
  double ElapsedMs() const {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) /
           static_cast<double>(frequency.QuadPart);
  }

 private:
  LARGE_INTEGER start_;
};

// Looks every millisecond or so until done() holds and returns the stopwatch's reading at that
// moment, or a negative number when it did not hold within the time limit.
inline double TimeUntil(const Stopwatch& clock, const std::function<bool()>& done,
                        double limitMs = 20000) {
  for (;;) {
    if (done()) return clock.ElapsedMs();
    if (clock.ElapsedMs() > limitMs) return -1;
    Sleep(1);
  }
}
