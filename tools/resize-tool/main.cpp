#include <iostream>
#include <string>
#include <vector>

#include "tools/resize-tool/ResizeToolCommand.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return resizetool::RunResizeTool(args, std::cout, std::cerr);
}
