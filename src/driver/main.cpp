#include <csignal>

#include "driver/driver.h"

int main(int argc, char** argv) {
#ifdef SIGPIPE
    // Test mode 2's console lines into a closed pipe must not end the run: the file is what
    // the host reads.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    return run(argc, argv);
}
