#include "recording/gui/ImageFileDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QThread>

namespace recording {
namespace {

std::optional<std::string> AskOnGuiThread() {
    // An existing image is a disc that gets one more session, so no overwrite question.
    const QString file = QFileDialog::getSaveFileName(nullptr, {}, QStringLiteral("Image.iso"),
                                                      QStringLiteral("Image Files (*.iso);;All Files (*)"), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (file.isEmpty())
        return std::nullopt;
    return file.toStdString();
}

}  // namespace

ImageFileQuestion ImageFileDialogQuestion() {
    return [] {
        auto* app = QCoreApplication::instance();
        if (!app || QThread::currentThread() == app->thread())
            return app ? AskOnGuiThread() : std::nullopt;
        std::optional<std::string> answer;
        QMetaObject::invokeMethod(app, [&answer] { answer = AskOnGuiThread(); }, Qt::BlockingQueuedConnection);
        return answer;
    };
}

}  // namespace recording
