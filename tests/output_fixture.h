// Every subsystem as at start-up, with the output of the running pass captured in memory.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "boundary/boundary.h"
#include "driver/driver.h"
#include "exchange/output.h"
#include "geometry/geometry.h"
#include "text/streams.h"

class OutputFixture : public ::testing::Test {
  protected:
    std::string sink;
    bool open = false;

    void SetUp() override {
        reset_all();
        gomi = 0.00025;
        writer_open_memory(fpw, sink);
        open = true;
    }
    void TearDown() override {
        if (open) writer_close(fpw);
    }
    // Everything written into the output so far.
    std::string out() {
        if (open) writer_close(fpw);
        open = false;
        return sink;
    }
};
