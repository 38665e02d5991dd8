#pragma once
// The image-file drive's question as a file dialog on the GUI thread.

#include "recording/backup/CdBackupWriter.h"

namespace recording {

// Asks for the image file ("Image.iso" by default, ISO images listed); on
// another thread the caller waits while the GUI thread shows the dialog.
ImageFileQuestion ImageFileDialogQuestion();

}  // namespace recording
