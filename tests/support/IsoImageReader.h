#pragma once
// Reads an ISO image file back through libisoburn and libisofs, for the disc
// writing tests: its volume name, its session count and its root files.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

// libisofs first (its own burn_source); libburn declares itself in namespace
// burn for C++, and libisoburn expects to see it unqualified.
#include <libisofs/libisofs.h>
#include <libburn/libburn.h>
using namespace burn;
#include <libisoburn/libisoburn.h>

namespace testutil {

// Needs the burning libraries initialised (an engine connected).
struct ImageContent {
    std::string volume;
    std::map<std::string, std::string> files;
    int sessions = 0;
};

// The image's volume, sessions and root files' contents, read with libisofs.
inline ImageContent ReadImage(const std::filesystem::path& image) {
    ImageContent content;
    burn_drive_info* info = nullptr;
    std::string address = "stdio:" + image.string();
    if (isoburn_drive_aquire(&info, address.data(), 0) <= 0)
        return content;
    isoburn_read_opts* options = nullptr;
    isoburn_ropt_new(&options, 0);
    isoburn_ropt_set_extensions(options, isoburn_ropt_noiso1999);
    if (isoburn_toc_disc* toc = isoburn_toc_drive_get_disc(info[0].drive)) {
        isoburn_toc_disc_get_sessions(toc, &content.sessions);
        isoburn_toc_disc_free(toc);
    }
    IsoImage* iso = nullptr;
    if (isoburn_read_image(info[0].drive, options, &iso) > 0) {
        content.volume = iso_image_get_volume_id(iso);
        IsoDirIter* iter = nullptr;
        iso_dir_get_children(iso_image_get_root(iso), &iter);
        IsoNode* node = nullptr;
        while (iso_dir_iter_next(iter, &node) == 1) {
            IsoStream* stream = iso_file_get_stream(reinterpret_cast<IsoFile*>(node));
            std::string bytes;
            if (iso_stream_open(stream) >= 0) {
                char buffer[65536];
                for (int n; (n = iso_stream_read(stream, buffer, sizeof(buffer))) > 0;)
                    bytes.append(buffer, static_cast<std::size_t>(n));
                iso_stream_close(stream);
            }
            content.files[iso_node_get_name(node)] = bytes;
        }
        iso_dir_iter_free(iter);
        iso_image_unref(iso);
    }
    isoburn_ropt_destroy(&options, 0);
    isoburn_drive_release(info[0].drive, 0);
    burn_drive_info_free(info);
    return content;
}

}  // namespace testutil
