// The Windows tests' helpers for driving the main window (the dialog closer above all), built
// into the benchmark too rather than copied.
#include "tests/win/frame_test_support.cpp"
