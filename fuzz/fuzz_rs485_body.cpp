// The RS-485 body fill over any template and context: it is refused or gives
// a body within the 64-byte area, and never reads past the template.
#include <cstdint>
#include <cstdlib>

#include "mainwindow/control/ControlCommandBody.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kContextBytes = 5;
    if (size < kContextBytes)
        return 0;
    mainwindow::CommandBodyContext context;
    context.masterAddress = data[0];
    context.busAddress = data[1];
    context.rank = data[2];
    context.repeat = data[3];
    context.presetMode = (data[4] & 1) != 0;
    for (std::size_t i = 0; i < context.params.size(); ++i)
        context.params[i] = static_cast<std::uint8_t>(data[4] + i);
    // Each template byte comes as a pair: a flag byte (bit 0: placeholder) and the value.
    mainwindow::ControlCommandTemplate command;
    for (std::size_t i = kContextBytes; i + 1 < size && command.pBytes.size() < 255; i += 2) {
        const bool placeholder = (data[i] & 1) != 0;
        if (placeholder)
            command.placeholders.set(command.pBytes.size());
        command.pBytes.push_back(placeholder ? data[i + 1] & 0x0F : data[i + 1]);
    }
    const auto body = mainwindow::BuildCommandBody(command, context);
    if (body && (body->size() > mainwindow::kCommandBodyArea || body->size() < 3 || (*body)[0] + 3u != body->size()))
        std::abort();
    return 0;
}
