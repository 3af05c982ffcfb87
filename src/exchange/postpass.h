// The last pass: copy the work file back into the exchange file, taking the block marker
// back from polyline blocks that hold a single segment.
#pragma once

// False when either file cannot be opened or a read or write fails.
bool ChkPL();
