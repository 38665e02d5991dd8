#pragma once
// resize-tool IN.ppm OUT.ppm --roi x,y,w,h --dst W,H --xf F --yf F --interp N
//
// Reads IN as the whole source (step 3 x width), makes a W x H destination of 0xCD bytes
// (step 3 x W), calls ImageResize_8u_C3R once and prints "status N". When W and H are both at
// least 1 the whole destination is written to OUT, whatever the status. Exit code 0 whenever the
// call was made; 2 for bad arguments, 1 when the input cannot be read or the output written.

#include <ostream>
#include <string>
#include <vector>

namespace resizetool {

int RunResizeTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace resizetool
