#include <cstdio>

#include "driver/driver.h"

int main(int argc, char** argv) {
    int status = run(argc, argv);
    if (std::fflush(stdout) != 0 && status == 0) status = 1;
    return status;
}
