// A program linked to libvelmo.so that only reports that it got to run.
#include "velmo.h"

#include <cstdio>

int main() {
    DS_STOP();
    std::puts("loaded");
    return 0;
}
