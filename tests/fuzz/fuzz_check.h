#pragma once

// A property a fuzz target found broken: libFuzzer (and the repeatable driver) report the
// exception with the input that caused it.

#include <stdexcept>

namespace zefa::test {

inline void check(bool ok, const char* what) {
    if (!ok) throw std::logic_error(what);
}

} // namespace zefa::test
