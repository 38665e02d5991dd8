// CtrlFile.ini as read from disc: any bytes either load or are refused, and
// what loads stays within the record's fields.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "session/devices/ControlFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mainwindow::ControlFile file;
    const auto result =
        mainwindow::ParseControlFile(std::string_view(reinterpret_cast<const char*>(data), size), file);
    if (!result.ok && file.RecordCount() != 0)
        std::abort();
    if (file.RecordCount() > mainwindow::kControlRecordMax)
        std::abort();
    mainwindow::BindControlProtocols(file);
    for (const auto& record : file.Records()) {
        if (record.szName.size() > mainwindow::kControlNameMax)
            std::abort();
        for (const auto& command : record.Commands)
            for (std::size_t i = 0; i < command.pBytes.size(); ++i)
                if (command.IsPlaceholder(i) && command.pBytes[i] > 15)
                    std::abort();
    }
    return 0;
}
