// Writes valid listings (digest line included) for tests, the sample and benchmarks.
#pragma once
