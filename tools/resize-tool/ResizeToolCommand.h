#pragma once
// resize-tool IN.ppm OUT.ppm --roi x,y,w,h --dst W,H --xf F --yf F --interp N
//
// Reads IN (an 8-bit binary PPM) as the whole source (step 3 x width), makes a W x H
// destination of 0xCD bytes (step 3 x W), calls ImageResize_8u_C3R once and prints
// "status N NAME". Only on StatusOk is the whole destination written to OUT (exit code 0); any
// other status writes no file and gives exit code 3. 2 for bad arguments, 1 when the input
// cannot be read or the output written.

#include <ostream>
#include <string>
#include <vector>

namespace resizetool {

int RunResizeTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace resizetool
