#pragma once

#include <QImage>
#include <QString>

// The application icon of the desktop entry: a question sheet with a tick on the program's blue.
namespace icon {

inline constexpr auto kName = "org.quillmark.Quillmark";
inline constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256, 512};

QImage draw(int size);

// OUT_DIR/hicolor/NxN/apps/<kName>.png for every size.
bool writeAll(const QString &outDir, QString *error);

} // namespace icon
