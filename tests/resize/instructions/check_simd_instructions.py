#!/usr/bin/env python3
"""Disassembles object files and fails on any instruction beyond SSE2 on x86-64: SSE3
(horizontal add and subtract, add-subtract, the duplicating moves, lddqu, fisttp), SSSE3, SSE4,
AVX and later, and also on x87 and MMX code and on loads of the SSE control register.

check_simd_instructions.py [--expect-flagged] [--only DIR ...] OBJECT...
Objects may be given as ;-separated lists. With --only, just the objects whose path holds one of
the DIR parts are read. With --expect-flagged the result is inverted: the objects must hold such
an instruction (a self-test of the check)."""

import re
import subprocess
import sys

SSE3 = {"addsubps", "addsubpd", "haddps", "haddpd", "hsubps", "hsubpd", "movshdup", "movsldup",
        "movddup", "lddqu", "fisttp", "monitor", "mwait"}
SSSE3 = {"pshufb", "phaddw", "phaddd", "phaddsw", "phsubw", "phsubd", "phsubsw", "pmaddubsw",
         "pmulhrsw", "psignb", "psignw", "psignd", "pabsb", "pabsw", "pabsd", "palignr"}
SSE4 = {"pblendw", "blendps", "blendpd", "blendvps", "blendvpd", "pblendvb", "dpps", "dppd",
        "insertps", "extractps", "pextrb", "pextrd", "pextrq", "pinsrb", "pinsrd", "pinsrq",
        "pmuldq", "pmulld", "pminsb", "pminsd", "pminuw", "pminud", "pmaxsb", "pmaxsd", "pmaxuw",
        "pmaxud", "roundps", "roundpd", "roundss", "roundsd", "ptest", "packusdw", "pcmpeqq",
        "phminposuw", "mpsadbw", "movntdqa", "pcmpgtq", "pcmpestri", "pcmpestrm", "pcmpistri",
        "pcmpistrm", "crc32", "popcnt"}
CONTROL = {"ldmxcsr", "emms", "femms"}
LATER = SSE3 | SSSE3 | SSE4 | CONTROL


def offending(mnemonic, operands):
    if mnemonic in LATER:
        return True
    if mnemonic.startswith("pmovsx") or mnemonic.startswith("pmovzx"):
        return True
    if mnemonic.startswith("f"):  # x87
        return True
    if mnemonic.startswith("v") and mnemonic not in {"verr", "verw"}:  # VEX and EVEX encodings
        return True
    if re.search(r"\b[yz]mm\d+\b", operands) or re.search(r"(?<![xyz])\bmm\d\b", operands):
        return True
    if mnemonic == "pextrw" and "PTR" in operands.split(",")[0]:  # the memory form is SSE4.1
        return True
    return False


def check(path):
    listing = subprocess.run(["objdump", "-d", "--no-show-raw-insn", "-M", "intel", path],
                             check=True, capture_output=True, text=True).stdout
    found = []
    function = "?"
    for line in listing.splitlines():
        head = re.match(r"^[0-9a-f]+ <(.+)>:$", line)
        if head:
            function = head.group(1)
            continue
        instruction = re.match(r"^\s+[0-9a-f]+:\s+(?:(?:rep|repz|repnz|lock|data16|notrack|bnd)\s+)*([a-z0-9]+)\s*(.*)$", line)
        if instruction and offending(instruction.group(1), instruction.group(2)):
            found.append(f"{path}: {function}: {instruction.group(1)} {instruction.group(2)}".rstrip())
    return found


def main(arguments):
    expect_flagged = False
    only = []
    objects = []
    i = 0
    while i < len(arguments):
        if arguments[i] == "--expect-flagged":
            expect_flagged = True
        elif arguments[i] == "--only":
            i += 1
            only.append(arguments[i])
        else:
            objects.extend(part for part in arguments[i].split(";") if part)
        i += 1
    if only:
        objects = [o for o in objects if any(part in o for part in only)]
    if not objects:
        print("no objects to check")
        return 1
    found = [line for o in objects for line in check(o)]
    if expect_flagged:
        if not found:
            print("nothing flagged in " + " ".join(objects))
            return 1
        print(f"flagged as expected: {found[0]}")
        return 0
    for line in found[:50]:
        print(line)
    print(f"{len(objects)} objects, {len(found)} instructions beyond SSE2")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
