#pragma once
// Every kernel of a build run once over fixed memory, for comparing the SSE3-class build's kernels
// with their SSE2 twins: the bytes each call writes, and the kernel's address.

#include <cstdint>
#include <string>
#include <vector>

struct KernelProbeResult {
    std::string name;
    std::vector<std::uint8_t> bytes;
    const void* kernel;  // null where each including file has its own copy of the kernel
};

std::vector<KernelProbeResult> ProbeSse2Kernels();
std::vector<KernelProbeResult> ProbeSse3Kernels();
