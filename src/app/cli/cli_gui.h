// The Qt Gui session of the commands that paint pictures (render, map). Built only with the
// picture canvases.
#pragma once

#ifdef QUILLMERE_HAVE_CANVAS

#include <QGuiApplication>
#include <memory>

namespace quillmere::cli {

/// Fonts need a QGuiApplication; without a display it runs on the offscreen platform. Qt's
/// chatter about the session (runtime folders, fonts) is kept off the tool's stderr; real
/// failures are reported by the command itself. Null when an application already exists.
std::unique_ptr<QGuiApplication> StartGui();

}  // namespace quillmere::cli

#endif  // QUILLMERE_HAVE_CANVAS
