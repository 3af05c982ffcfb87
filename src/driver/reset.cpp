#include "boundary/boundary.h"
#include "clip/clip.h"
#include "driver/driver.h"
#include "exchange/attributes.h"
#include "geometry/geometry.h"

void reset_all() {
    reset_settings();
    reset_record();
    reset_attributes();
    reset_boundary();
    reset_geometry();
    reset_clip();
}
